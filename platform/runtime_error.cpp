#include "platform/runtime_error.h"

#include "platform/error_box_text.h"
#include "platform/process_state.h"
#include "platform/program_end.h"
#include "platform/window_definition.h"

#include <windows.h>

void reportFatalError(const std::string& message, int32_t code, uint32_t subject, int32_t position)
{
    // No handler may run while the box's own message loop keeps the windows alive.
    ++processState.eventBlock;
    const std::string text = buildErrorBoxText(message, code, subject, position, findWindowDefinition);
    MessageBoxA(nullptr, text.c_str(), "错误", MB_OK | MB_ICONHAND);
    // The global objects are left as they are: the failure may have come from inside them.
    processState.exitRoutines.clear();
    endProgram(-1);
}

void raiseRuntimeError(int32_t code, uint32_t routineNumber, int32_t position)
{
    reportFatalError(runtimeErrorMessage(code), code, routineNumber, position);
}

void reportOutOfMemory(std::ptrdiff_t size) { reportFatalError(outOfMemoryMessage(size), 0, 0, 0); }

void* allocateBlock(std::size_t size)
{
    void* block = HeapAlloc(GetProcessHeap(), 0, size);
    if (!block)
        reportOutOfMemory(static_cast<std::ptrdiff_t>(size));
    return block;
}

void* resizeBlock(void* block, std::size_t size)
{
    if (!block)
        return allocateBlock(size);
    void* resized = HeapReAlloc(GetProcessHeap(), 0, block, size);
    if (!resized)
        reportOutOfMemory(static_cast<std::ptrdiff_t>(size));
    return resized;
}

void freeBlock(void* block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}
