#include "tests/component/hosted_control.h"

#include <oleidl.h>
#include <wrl/client.h>

namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxAttachControlFunction = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);

template <class Function>
Function atlFunction(const char* name)
{
    HMODULE atl = LoadLibraryA("atl.dll");  // stays loaded: its window class lives on
    return atl ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(atl, name))) : nullptr;
}

}  // namespace

HostedControl::HostedControl(const ComponentLibrary& library, int width, int height) : player_(library.create())
{
    attach(width, height);
}

HostedControl::HostedControl(const AutomationObject& player, int width, int height) : player_(player.copy())
{
    attach(width, height);
}

void HostedControl::attach(int width, int height)
{
    auto init = atlFunction<AtlAxWinInitFunction>("AtlAxWinInit");
    auto attach = atlFunction<AtlAxAttachControlFunction>("AtlAxAttachControl");
    if (player_.isEmpty() || !init || !attach)
        return;
    init();  // FALSE once the class is registered, from an earlier host in this process
    hostWindow_ = CreateWindowExA(0, "AtlAxWin", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!hostWindow_)
        return;
    // Wine's atl.dll attaches only when asked for the container.
    Microsoft::WRL::ComPtr<IUnknown> container;
    if (FAILED(attach(player_.rawPointer(), hostWindow_, &container)))
        return;
    Microsoft::WRL::ComPtr<IOleWindow> window;
    if (SUCCEEDED(player_.rawPointer()->QueryInterface(IID_PPV_ARGS(&window))))
        window->GetWindow(&controlWindow_);
}

HostedControl::~HostedControl()
{
    if (hostWindow_)
        DestroyWindow(hostWindow_);
}

COLORREF HostedControl::pixel(int x, int y) const
{
    HDC dc = GetDC(controlWindow_);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(controlWindow_, dc);
    return colour;
}
