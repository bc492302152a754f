#include "wallpaper/player_window.h"

#include "platform/window_ids.h"
#include "platform/window_layer.h"
#include "player/player_config.h"
#include "player/player_control.h"
#include "player/player_globals.h"
#include "wallpaper/desktop_embedder.h"

#include <memory>
#include <utility>

namespace {
// Posted by destroyPlayerWindow; the window destroys itself when the loop delivers it.
constexpr UINT destroyRequest = WM_APP + 0x209;

constexpr int createdWidth = 674;
constexpr int createdHeight = 448;

RECT outerRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

void place(HWND window, int left, int top, int width, int height)
{
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The wallpaper's rectangle on the screen: the primary monitor, or the virtual screen (the
// rectangle around all monitors) when it plays on all of them.
RECT wallpaperArea(bool allMonitors)
{
    if (!allMonitors)
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// A screen point where the window's position is given: on the screen while it is top-level;
// in its parent once embedded, since the shell's desktop windows span all monitors from the
// leftmost and topmost one's corner.
POINT inPlacement(HWND window, POINT point)
{
    HWND parent = GetAncestor(window, GA_PARENT);
    if (parent && parent != GetDesktopWindow())
        MapWindowPoints(nullptr, parent, &point, 1);
    return point;
}

// Over the wallpaper's area, edge by edge in this order: left, top, height, width; returns the
// outer rectangle as the window really has it then.
RECT coverScreen(HWND window, bool allMonitors)
{
    const RECT start = outerRect(window);
    const int startWidth = start.right - start.left;
    const int startHeight = start.bottom - start.top;
    const RECT area = wallpaperArea(allMonitors);
    const POINT origin = inPlacement(window, POINT{area.left, area.top});
    const int shift = inPlacement(window, POINT{0, 0}).y;
    place(window, origin.x, shift + start.top, startWidth, startHeight);
    place(window, origin.x, origin.y, startWidth, startHeight);
    place(window, origin.x, origin.y, startWidth, area.bottom - area.top);
    place(window, origin.x, origin.y, area.right - area.left, area.bottom - area.top);
    return outerRect(window);
}

// Sent as the system sends it on a power change; not waited for when the window belongs to
// another thread, so the settings window stays responsive.
BOOL CALLBACK tellPowerStatusChanged(HWND window, LPARAM)
{
    SendNotifyMessageA(window, WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0);
    return TRUE;
}
}  // namespace

PlayerWindow::PlayerWindow(std::optional<std::string> fileName, bool allMonitors)
    : ProgramWindow(layout::playerWindow),
      fileName_(std::move(fileName)),
      allMonitors_(allMonitors)
{}

WindowFrame PlayerWindow::frame() const
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    return {"pmrq",
            "pmrq",
            CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
            static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)),
            WS_POPUP | WS_CLIPCHILDREN,
            0,
            (screenWidth - createdWidth) / 2,
            (screenHeight - createdHeight) / 2,
            createdWidth,
            createdHeight};
}

void PlayerWindow::onCreated()
{
    HWND window = handle();
    const RECT rect = coverScreen(window, allMonitors_);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // A player window after the first (the shell took the first one with it) hosts the
    // instance that is loaded already: the component is loaded once per run.
    if (!playerControl->componentModule)
        playerControl->create(window, *playerEventSink, 0, 0, width, height);
    else if (!playerControl->player.isEmpty())
        playerControl->createHost(*playerEventSink, window, 0, 0, width, height);
    playerConfig->item8(1);
    playerConfigExt->item119(1);
    playerControl->open(fileName_ ? *fileName_ : componentText(layout::settingsWindow, layout::fileNameEdit));
    playerControl->play();

    embedPlayerWindow();
    // The window keeps its place inside the new parent, which may begin on another monitor.
    coverScreen(window, allMonitors_);
    layerWatch_.emplace();
}

void PlayerWindow::onDestroy()
{
    layerWatch_.reset();
    playerControl->close();
    giveDesktopBack();
}

LRESULT PlayerWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case destroyRequest:
        DestroyWindow(handle());
        return 0;
    case WM_TIMER:
        onTimer(wParam);
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_ERASEBKGND: {
        // The class brush is NULL_BRUSH; the face colour shows only where the video does not.
        RECT client{};
        GetClientRect(handle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    default:
        return ProgramWindow::handleMessage(message, wParam, lParam);
    }
}

void PlayerWindow::onTimer(UINT_PTR timer)
{
    if (layerWatch_)
        layerWatch_->onSettled(handle(), timer);
    else
        KillTimer(handle(), timer);
}

// The user ended the video (Esc): it stays ended, also when the shell restarts.
void PlayerWindow::onClose()
{
    playerWindowHandle = nullptr;
    DestroyWindow(handle());
}

void loadPlayerWindow(bool allMonitors)
{
    if (HWND open = loadedWindow(layout::playerWindow)) {
        // A destruction that was asked for but not yet delivered happens now.
        MSG pending;
        if (PeekMessageA(&pending, open, destroyRequest, destroyRequest, PM_REMOVE))
            DestroyWindow(open);
    }
    loadWindow(std::make_unique<PlayerWindow>(std::nullopt, allMonitors), loadedWindow(layout::settingsWindow));
}

void reloadPlayerWindow(const std::string& fileName, bool allMonitors)
{
    if (loadedWindow(layout::playerWindow))
        return;
    loadWindow(std::make_unique<PlayerWindow>(fileName, allMonitors), loadedWindow(layout::settingsWindow));
}

void fitPlayerWindowToScreen(bool allMonitors)
{
    HWND window = loadedWindow(layout::playerWindow);
    if (!window)
        return;
    const RECT rect = coverScreen(window, allMonitors);
    HWND host = playerControl->hostWindowHandle();
    if (host && IsWindow(host) && GetAncestor(host, GA_PARENT) == window)
        place(host, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
}

void destroyPlayerWindow()
{
    // Gone already (Esc, or the shell took it with the old desktop): nothing is left to end.
    if (HWND window = loadedWindow(layout::playerWindow))
        PostMessageA(window, destroyRequest, 0, 0);
}

void tellPlayerPowerChoiceChanged()
{
    HWND window = loadedWindow(layout::playerWindow);
    if (!window)
        return;
    EnumChildWindows(window, tellPowerStatusChanged, 0);
}
