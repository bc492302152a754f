#include "wallpaper/wallpaper_layer_watch.h"

#include "platform/process_state.h"
#include "wallpaper/desktop_embedder.h"

namespace {
void CALLBACK onShellWindowEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    // Like every event, none is acted on once a shutdown or a fatal report has begun.
    if (processState.eventBlock == 0 && object == OBJID_WINDOW && child == CHILDID_SELF)
        hideReturnedWallpaperLayer(window);
}
}  // namespace

WallpaperLayerWatch::WallpaperLayerWatch()
{
    DWORD shellProcess = 0;
    if (!GetWindowThreadProcessId(desktopProgramWindow, &shellProcess))
        return;
    // Windows reports a shown layer (EVENT_OBJECT_SHOW); Wine reports another process's
    // windows only as they are created, and nothing at all when WINEVENT_SKIPOWNPROCESS is
    // given with a process, so the callback sorts out what is not the layer.
    hook_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, onShellWindowEvent, shellProcess, 0,
                            WINEVENT_OUTOFCONTEXT);
}

WallpaperLayerWatch::~WallpaperLayerWatch()
{
    if (hook_)
        UnhookWinEvent(hook_);
}
