#include "app/hidden_owner_window.h"

#include "platform/program_end.h"

namespace {
constexpr const char* className = "_QX_HideOwner";

LRESULT CALLBACK hiddenOwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == endProgramMessage)
        endProgram(static_cast<int>(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClassOnce(HINSTANCE instance)
{
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, className, &existing))
        return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hiddenOwnerProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}
}  // namespace

HWND createHiddenOwnerWindow()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    registerClassOnce(instance);
    return CreateWindowExA(WS_EX_TOOLWINDOW, className, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}
