#include "platform/external_calls.h"

#include "platform/call_gate.h"
#include "platform/external_function_table.h"
#include "platform/process_state.h"
#include "platform/runtime_error.h"

#include <type_traits>

namespace {

constexpr int32_t stackImbalance = 6;

// The program's table, made at its first use, which comes after start-up has found the
// program directory.
ExternalFunctionTable& programTable()
{
    static ExternalFunctionTable table({systemFunctionNames.begin(), systemFunctionNames.end()},
                                       processState.programDirectory);
    return table;
}

FARPROC resolveEntry(std::size_t index)
{
    ExternalFunctionTable& table = programTable();
    if (FARPROC address = table.bind(index))
        return address;
    const ExternalFunctionTable::Entry& entry = table.entry(index);
    reportFatalError(bindingFailureMessage(entry.libraryName, entry.exportName), 0, 0, 0);
}

template <typename T>
uintptr_t toWord(T value)
{
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<uintptr_t>(value);
    else
        return static_cast<uintptr_t>(value);  // signed values keep their sign in the wider word
}

template <typename R>
R fromWord(uintptr_t word)
{
    if constexpr (std::is_pointer_v<R>)
        return reinterpret_cast<R>(word);
    else
        return static_cast<R>(word);
}

// Binds the entry, calls it through the gate and ends the program on an unbalanced stack.
template <typename R, typename... Args>
R guardedCall(std::size_t entry, CallSite at, Args... args)
{
    const uintptr_t words[sizeof...(Args) + 1] = {toWord(args)...};
    const GateOutcome outcome =
        callThroughGate(reinterpret_cast<const void*>(resolveEntry(entry)), words, sizeof...(Args));
    if (outcome.stackDifference != 0)
        raiseRuntimeError(stackImbalance, at.routine, at.position);
    if constexpr (!std::is_void_v<R>)
        return fromWord<R>(outcome.result);
}

}  // namespace

namespace ext {

BOOL atlAxWinInit(CallSite at) { return guardedCall<BOOL>(0, at); }

HWND findWindow(CallSite at, const char* className, const char* title)
{
    return guardedCall<HWND>(1, at, className, title);
}

LRESULT sendMessageTimeout(CallSite at, HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                           UINT timeoutMs, DWORD_PTR* result)
{
    return guardedCall<LRESULT>(2, at, window, message, wParam, lParam, flags, timeoutMs, result);
}

HWND setParent(CallSite at, HWND child, HWND newParent) { return guardedCall<HWND>(3, at, child, newParent); }

BOOL enumWindows(CallSite at, WNDENUMPROC callback, LPARAM parameter)
{
    return guardedCall<BOOL>(4, at, callback, parameter);
}

HWND findWindowEx(CallSite at, HWND parent, HWND after, const char* className, const char* title)
{
    return guardedCall<HWND>(5, at, parent, after, className, title);
}

BOOL showWindow(CallSite at, HWND window, int command) { return guardedCall<BOOL>(6, at, window, command); }

HMODULE getModuleHandle(CallSite at, const wchar_t* name) { return guardedCall<HMODULE>(7, at, name); }

HWND createWindowEx(CallSite at, DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance, void* parameter)
{
    return guardedCall<HWND>(8, at, exStyle, className, title, style, x, y, width, height, parent, menuOrId, instance,
                             parameter);
}

HRESULT atlAxAttachControl(CallSite at, IUnknown* control, HWND host, IUnknown** container)
{
    return guardedCall<HRESULT>(9, at, control, host, container);
}

void moveMemory(CallSite at, void* destination, const void* source, SIZE_T length)
{
    guardedCall<void>(10, at, destination, source, length);
}

HMODULE loadLibrary(CallSite at, const char* path) { return guardedCall<HMODULE>(11, at, path); }

FARPROC getProcAddress(CallSite at, HMODULE module, const char* name)
{
    return guardedCall<FARPROC>(12, at, module, name);
}

BOOL freeLibrary(CallSite at, HMODULE module) { return guardedCall<BOOL>(13, at, module); }

HRESULT clsidFromString(CallSite at, const wchar_t* text, CLSID* id) { return guardedCall<HRESULT>(14, at, text, id); }

int multiByteToWideChar(CallSite at, UINT codePage, DWORD flags, const char* source, int sourceLength, wchar_t* output,
                        int outputCapacity)
{
    return guardedCall<int>(15, at, codePage, flags, source, sourceLength, output, outputCapacity);
}

LONG getWindowLong(CallSite at, HWND window, int index) { return guardedCall<LONG>(16, at, window, index); }

LONG setWindowLong(CallSite at, HWND window, int index, LONG value)
{
    return guardedCall<LONG>(17, at, window, index, value);
}

BOOL setLayeredWindowAttributes(CallSite at, HWND window, COLORREF key, BYTE alpha, DWORD flags)
{
    return guardedCall<BOOL>(18, at, window, key, alpha, flags);
}

BOOL setWindowPos(CallSite at, HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    return guardedCall<BOOL>(19, at, window, insertAfter, x, y, width, height, flags);
}

}  // namespace ext

void releaseLibraries() { programTable().releaseLibraries(); }
