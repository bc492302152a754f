#pragma once
// Being told when the shell shows its wallpaper layer again, or makes a new one, in front of
// the embedded video (the Windows slideshow and waking from sleep do): an out-of-context
// WinEvent hook on the shell's process, whose callbacks the message loop delivers. A "WorkerW"
// made or shown is looked at when its event arrives and twice more, a quarter of a second and a
// second later, by a timer of the player window, since the shell may move it behind the icons
// only after showing it.
#include <windows.h>

#include <set>

class WallpaperLayerWatch {
public:
    // Watches the process of the desktop program window found by the embedding.
    WallpaperLayerWatch();
    ~WallpaperLayerWatch();
    WallpaperLayerWatch(const WallpaperLayerWatch&) = delete;
    WallpaperLayerWatch& operator=(const WallpaperLayerWatch&) = delete;

    // The player window's WM_TIMER: `timer` is the handle of the "WorkerW" to look at again,
    // or of the desktop program window for the look at the whole desktop after the embedding.
    void onSettled(HWND player, UINT_PTR timer);

private:
    HWINEVENTHOOK hook_ = nullptr;
    std::set<HWND> lookedAtOnce_;  // layers whose last look is still to come
};
