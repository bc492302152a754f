#include "platform/program_end.h"

#include "platform/process_state.h"

#include <ole2.h>

namespace {
void run(CleanUpStep step)
{
    if (step)
        step();
}
}  // namespace

void shutdown(int exitCode)
{
    ++processState.eventBlock;
    if (GetCurrentThreadId() != processState.mainThreadId) {
        // The clean-up belongs to the main thread: hand the whole end of the run over to it.
        if (IsWindow(processState.hiddenOwnerWindow))
            SendMessageA(processState.hiddenOwnerWindow, endProgramMessage, static_cast<WPARAM>(exitCode), 0);
        if (!processState.shuttingDown)
            ExitProcess(static_cast<UINT>(exitCode));
        return;
    }
    processState.shuttingDown = true;
    run(processState.destroyWindows);
    const auto routines = processState.exitRoutines;
    for (ExitRoutine routine : routines)
        routine();
    processState.exitRoutines.clear();
    run(processState.freeLibraries);
    if (IsWindow(processState.hiddenOwnerWindow))
        DestroyWindow(processState.hiddenOwnerWindow);
    processState.hiddenOwnerWindow = nullptr;
    if (processState.oleInitialized) {
        OleUninitialize();
        processState.oleInitialized = false;
    }
}

void endProgram(int exitCode)
{
    shutdown(exitCode);
    ExitProcess(static_cast<UINT>(exitCode));
}
