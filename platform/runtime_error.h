#pragma once
// Fatal run-time errors: one message box, the end-of-run clean-up without the exit
// routines, exit code -1. Also the program heap, whose only failure is such a report.
#include <cstddef>
#include <cstdint>
#include <string>

// Shows the error box for the failure and ends the program; never returns.
[[noreturn]] void reportFatalError(const std::string& message, int32_t code, uint32_t subject, int32_t position);

// A numbered run-time error (only 6, stack imbalance after an external call, is raised).
[[noreturn]] void raiseRuntimeError(int32_t code, uint32_t routineNumber, int32_t position);

[[noreturn]] void reportOutOfMemory(std::ptrdiff_t size);

// Blocks from the process heap; exhaustion is reported and ends the program.
void* allocateBlock(std::size_t size);
void* resizeBlock(void* block, std::size_t size);
void freeBlock(void* block);
