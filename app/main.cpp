// kv: plays a video as the desktop wallpaper. The entry routine of the run.
#include "app/globals.h"
#include "app/initialize_process.h"
#include "app/message_loop.h"
#include "app/settings_window.h"
#include "platform/external_calls.h"
#include "platform/process_state.h"
#include "platform/program_end.h"

#include <windows.h>

namespace {
int runProgram()
{
    initializeProcess();
    createGlobals();
    registerExitRoutine(destroyGlobals);

    ext::atlAxWinInit(site::startup);
    loadStartupWindow();
    const int exitCode = runMessageLoop();
    shutdown(0);
    return exitCode;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // No critical-error or open-file error boxes from the system.
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return runProgram();
}
