#include "wallpaper/player_window.h"

#include "platform/runtime_error.h"
#include "platform/window_ids.h"
#include "platform/window_layer.h"
#include "player/player_config.h"
#include "player/player_control.h"
#include "player/player_globals.h"
#include "wallpaper/desktop_embedder.h"

#include <memory>

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
}  // namespace

PlayerWindow::PlayerWindow() : ProgramWindow(layout::playerWindow) {}

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
    // Edge by edge, in this order: left, top, height, width.
    const RECT start = outerRect(handle());
    const int startWidth = start.right - start.left;
    const int startHeight = start.bottom - start.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    place(handle(), 0, start.top, startWidth, startHeight);
    place(handle(), 0, 0, startWidth, startHeight);
    place(handle(), 0, 0, startWidth, screenHeight);
    place(handle(), 0, 0, screenWidth, screenHeight);

    HWND window = handle();
    const RECT rect = outerRect(window);
    playerControl->create(window, *playerEventSink, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
    playerConfig->item8(1);
    playerConfigExt->item119(1);
    playerControl->open(componentText(layout::settingsWindow, layout::fileNameEdit));
    playerControl->play();

    embedPlayerWindow();
}

void PlayerWindow::onDestroy() { playerControl->close(); }

LRESULT PlayerWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case destroyRequest:
        DestroyWindow(handle());
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

void loadPlayerWindow()
{
    if (HWND open = loadedWindow(layout::playerWindow)) {
        // A destruction that was asked for but not yet delivered happens now.
        MSG pending;
        if (PeekMessageA(&pending, open, destroyRequest, destroyRequest, PM_REMOVE))
            DestroyWindow(open);
    }
    loadWindow(std::make_unique<PlayerWindow>(), loadedWindow(layout::settingsWindow));
}

void destroyPlayerWindow()
{
    HWND window = loadedWindow(layout::playerWindow);
    if (!window)
        reportFatalError("指定窗口或窗口组件不存在或尚未载入", 0, layout::playerWindow, layout::playerWindowEntry);
    PostMessageA(window, destroyRequest, 0, 0);
}
