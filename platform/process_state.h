#pragma once
// The process-wide start-up record: who we are, where we run from, the end of the run's
// clean-up steps, and the switches that start-up, the window layer and the program end share.
#include <windows.h>

#include <string>
#include <vector>

using ExitRoutine = void (*)();
using CleanUpStep = void (*)();

struct ProcessState {
    std::string programDirectory;  // directory of kv.exe, no trailing backslash
    std::string executableName;    // file name after the last backslash
    DWORD mainThreadId = 0;
    HWND hiddenOwnerWindow = nullptr;
    bool oleInitialized = false;
    std::vector<ExitRoutine> exitRoutines;  // registration order, each at most once
    // The end of the run's steps of the parts that own what they clean up, set at start-up:
    // the program windows go before the exit routines, the function table's libraries after.
    CleanUpStep destroyWindows = nullptr;
    CleanUpStep freeLibraries = nullptr;
    bool loopStarted = false;
    bool shuttingDown = false;
    LONG eventBlock = 0;  // above 0: no window event reaches a handler
};

extern ProcessState processState;

// Appends the routine unless it is already registered.
void registerExitRoutine(ExitRoutine routine);
