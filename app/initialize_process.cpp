#include "app/initialize_process.h"

#include "app/end_of_run.h"
#include "app/hidden_owner_window.h"
#include "app/program_path.h"
#include "app/window_definitions.h"
#include "platform/process_state.h"
#include "platform/runtime_error.h"

#include <ole2.h>

void initializeProcess()
{
    // First, so that a fatal report during start-up ends the run as any other end does.
    setEndOfRunSteps();

    if (!processState.oleInitialized) {
        OleInitialize(nullptr);
        processState.oleInitialized = true;
    }

    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    ProgramPath split = splitProgramPath(std::string(path, length));
    processState.programDirectory = std::move(split.directory);
    processState.executableName = std::move(split.fileName);
    SetCurrentDirectoryA(processState.programDirectory.c_str());

    processState.hiddenOwnerWindow = createHiddenOwnerWindow();
    processState.mainThreadId = GetCurrentThreadId();

    if (!registerWindowDefinitions())
        reportFatalError("载入窗口模板数据段出错!", 0, 0, 0);
}
