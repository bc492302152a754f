#pragma once
// The process-wide start-up record: who we are, where we run from, and the switches
// that start-up, the window layer and the program end share.
#include <windows.h>

#include <string>
#include <vector>

using ExitRoutine = void (*)();

struct ProcessState {
    std::string programDirectory;  // directory of kv.exe, no trailing backslash
    std::string executableName;    // file name after the last backslash
    DWORD mainThreadId = 0;
    HWND hiddenOwnerWindow = nullptr;
    bool oleInitialized = false;
    std::vector<ExitRoutine> exitRoutines;  // registration order, each at most once
    bool loopStarted = false;
    bool shuttingDown = false;
    LONG eventBlock = 0;  // above 0: no window event reaches a handler
};

extern ProcessState processState;

// Appends the routine unless it is already registered.
void registerExitRoutine(ExitRoutine routine);
