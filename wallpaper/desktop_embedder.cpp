#include "wallpaper/desktop_embedder.h"

#include "platform/external_calls.h"

#include <cstring>
#include <utility>

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

// The "WorkerW" right behind the owner of the icon view: the shell's wallpaper layer. None
// where the icon view lives in the desktop program window itself.
HWND layerBehindIconView()
{
    if (!IsWindow(iconViewWindow))
        return nullptr;
    HWND owner = GetAncestor(iconViewWindow, GA_PARENT);
    return owner == desktopProgramWindow ? nullptr : FindWindowExA(nullptr, owner, "WorkerW", "");
}

// The layer kv hid is still the shell's wallpaper layer: the same window of the shell, hidden,
// with no other layer shown behind the icon view since (a restarted shell, or one that made a
// new layer, shows its own).
bool isOurHiddenLayer(HWND layer)
{
    if (!layer || !IsWindow(layer) || IsWindowVisible(layer) || !IsWindow(iconViewWindow))
        return false;
    HWND owner = GetAncestor(iconViewWindow, GA_PARENT);
    if (owner == desktopProgramWindow ||
        GetWindowThreadProcessId(layer, nullptr) != GetWindowThreadProcessId(owner, nullptr))
        return false;
    char name[16] = {};
    GetClassNameA(layer, name, sizeof name);
    HWND behind = layerBehindIconView();
    return std::strcmp(name, "WorkerW") == 0 && !(behind && behind != layer && IsWindowVisible(behind));
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

void giveDesktopBack()
{
    HWND layer = std::exchange(wallpaperLayerWindow, nullptr);
    if (isOurHiddenLayer(layer)) {
        // Behind the icon-view owner, where the shell keeps it (Wine moves a hidden window to
        // the top; Windows leaves it there).
        SetWindowPos(layer, GetAncestor(iconViewWindow, GA_PARENT), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    // No picture of the video may stay where it was drawn.
    constexpr UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME;
    if (IsWindow(desktopProgramWindow))
        RedrawWindow(desktopProgramWindow, nullptr, nullptr, redraw);
    if (IsWindow(layer))
        RedrawWindow(layer, nullptr, nullptr, redraw);
}

void hideReturnedWallpaperLayer(HWND window)
{
    if (!IsWindow(playerWindowHandle) || !IsWindowVisible(window))
        return;
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow() || layerBehindIconView() != window)
        return;
    wallpaperLayerWindow = window;
    ShowWindow(window, SW_HIDE);
}

void hideWallpaperLayerBehindIconOwner() { hideReturnedWallpaperLayer(layerBehindIconView()); }
