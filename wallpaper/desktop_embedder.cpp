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
    ext::showWindow(site::enumHideWallpaperLayer, wallpaperLayerWindow, SW_HIDE);
    return FALSE;
}
