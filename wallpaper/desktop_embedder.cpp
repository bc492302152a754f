#include "wallpaper/desktop_embedder.h"

#include "platform/external_calls.h"

HWND desktopProgramWindow = nullptr;
HWND playerWindowHandle = nullptr;
HWND iconViewWindow = nullptr;
HWND wallpaperLayerWindow = nullptr;

namespace {
// Asks the desktop program window to make the wallpaper layer behind the icons.
constexpr UINT spawnWallpaperLayer = 0x052C;
constexpr UINT spawnTimeoutMs = 100;

// Windows 11 24H2 and later keep the icon view inside the desktop program window itself and
// the wallpaper layer beneath it. A child there is drawn only when layered; fully opaque, and
// directly beneath the icon view, the video shows behind the icons. It is shown here, in
// place: showing a WS_POPUP window later would raise it above the icon view.
void layerBeneathIconView()
{
    const LONG exStyle = ext::getWindowLong(site::layerReadStyle, playerWindowHandle, GWL_EXSTYLE);
    ext::setWindowLong(site::layerWriteStyle, playerWindowHandle, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    ext::setLayeredWindowAttributes(site::layerOpaque, playerWindowHandle, 0, 255, LWA_ALPHA);
    ext::setWindowPos(site::layerBeneathIconView, playerWindowHandle, iconViewWindow, 0, 0, 0, 0,
                      SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}
}  // namespace

void embedPlayerWindow()
{
    desktopProgramWindow = ext::findWindow(site::embedFindDesktop, "Progman", "Program Manager");
    ext::sendMessageTimeout(site::embedSpawnWorker, desktopProgramWindow, spawnWallpaperLayer, 0, 0, SMTO_NORMAL,
                            spawnTimeoutMs, nullptr);
    playerWindowHandle = ext::findWindow(site::embedFindPlayer, "pmrq", "pmrq");
    ext::setParent(site::embedSetParent, playerWindowHandle, desktopProgramWindow);
    ext::enumWindows(site::embedEnumerate, enumerateTopLevel, 0);
}

BOOL CALLBACK enumerateTopLevel(HWND window, LPARAM)
{
    iconViewWindow = ext::findWindowEx(site::enumFindIconView, window, nullptr, "SHELLDLL_DefView", "");
    if (!iconViewWindow)
        return TRUE;
    wallpaperLayerWindow = ext::findWindowEx(site::enumFindWallpaperLayer, nullptr, window, "WorkerW", "");
    if (window == desktopProgramWindow) {
        wallpaperLayerWindow = nullptr;  // what follows Progman is not the wallpaper layer there
        layerBeneathIconView();
    } else {
        ext::showWindow(site::enumHideWallpaperLayer, wallpaperLayerWindow, SW_HIDE);
    }
    return FALSE;
}

namespace {
BOOL CALLBACK findIconViewOwner(HWND window, LPARAM found)
{
    if (!FindWindowExA(window, nullptr, "SHELLDLL_DefView", ""))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
}  // namespace

void hideWallpaperLayerOnceSettled()
{
    HWND owner = nullptr;
    EnumWindows(findIconViewOwner, reinterpret_cast<LPARAM>(&owner));
    if (!IsWindow(playerWindowHandle) || !owner || owner == desktopProgramWindow)
        return;
    HWND layer = FindWindowExA(nullptr, owner, "WorkerW", "");
    if (!layer)
        return;
    iconViewWindow = FindWindowExA(owner, nullptr, "SHELLDLL_DefView", "");
    // Hidden while the shell was still arranging, behind an owner that is not the first: it
    // comes back where it stands, so that the one layer hidden is the one behind the icons.
    if (layer != wallpaperLayerWindow && IsWindow(wallpaperLayerWindow) && !IsWindowVisible(wallpaperLayerWindow))
        SetWindowPos(wallpaperLayerWindow, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    wallpaperLayerWindow = layer;
    ShowWindow(layer, SW_HIDE);
}

void hideReturnedWallpaperLayer(HWND window)
{
    if (!IsWindow(playerWindowHandle) || !IsWindow(iconViewWindow) || !IsWindowVisible(window))
        return;
    HWND iconOwner = GetAncestor(iconViewWindow, GA_PARENT);
    if (iconOwner == desktopProgramWindow || GetAncestor(window, GA_PARENT) != GetDesktopWindow())
        return;
    if (FindWindowExA(nullptr, iconOwner, "WorkerW", "") != window)
        return;
    wallpaperLayerWindow = window;
    ShowWindow(window, SW_HIDE);
}

void hideWallpaperLayerBehindIconOwner()
{
    if (IsWindow(iconViewWindow))
        hideReturnedWallpaperLayer(FindWindowExA(nullptr, GetAncestor(iconViewWindow, GA_PARENT), "WorkerW", ""));
}
