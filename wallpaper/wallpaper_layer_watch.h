#pragma once
// Being told when the shell shows its wallpaper layer again, or makes a new one, in front of
// the embedded video (the Windows slideshow and waking from sleep do): an out-of-context
// WinEvent hook on the shell's process, whose callbacks the message loop delivers.
#include <windows.h>

class WallpaperLayerWatch {
public:
    // Watches the process of the desktop program window found by the embedding.
    WallpaperLayerWatch();
    ~WallpaperLayerWatch();
    WallpaperLayerWatch(const WallpaperLayerWatch&) = delete;
    WallpaperLayerWatch& operator=(const WallpaperLayerWatch&) = delete;

private:
    HWINEVENTHOOK hook_ = nullptr;
};
