#pragma once
// The end of a run: the ordered clean-up and the process exit.
#include <windows.h>

// Posted to nobody; sent to the hidden owner window so that the main thread ends the run.
constexpr UINT endProgramMessage = 0x83E7;

// Blocks window events, destroys program windows without their handlers, runs and empties
// the exit routines, frees the function table's libraries, destroys the hidden owner
// window and uninitialises OLE. The windows and the libraries go through the steps that
// start-up set in processState. From another thread it hands the work to the main thread.
void shutdown(int exitCode);

// shutdown(exitCode), then ExitProcess(exitCode).
[[noreturn]] void endProgram(int exitCode);
