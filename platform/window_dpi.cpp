#include "platform/window_dpi.h"

namespace {
// Looked up by name: Windows 7 and 8 lack them.
template <typename Function>
Function* user32Function(const char* name)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

using GetDpiForSystemFunction = UINT WINAPI();
using GetDpiForWindowFunction = UINT WINAPI(HWND);
using AdjustWindowRectExForDpiFunction = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);

LONG scaled(LONG length, UINT dpi, UINT from) { return MulDiv(length, static_cast<int>(dpi), static_cast<int>(from)); }
}  // namespace

UINT systemDpi()
{
    if (auto* getDpiForSystem = user32Function<GetDpiForSystemFunction>("GetDpiForSystem"))
        return getDpiForSystem();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT windowDpi(HWND window)
{
    if (auto* getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow"))
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    return systemDpi();
}

RECT windowFrame(HWND window, UINT dpi)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    RECT frame{};
    if (auto* adjustForDpi = user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi")) {
        adjustForDpi(&frame, style, FALSE, exStyle, dpi);
        return frame;
    }
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const UINT from = systemDpi();
    return {scaled(frame.left, dpi, from), scaled(frame.top, dpi, from), scaled(frame.right, dpi, from),
            scaled(frame.bottom, dpi, from)};
}
