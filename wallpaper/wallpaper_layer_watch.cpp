#include "wallpaper/wallpaper_layer_watch.h"

#include "platform/window_events.h"
#include "wallpaper/desktop_embedder.h"

#include <cstring>

namespace {
// Long enough for a shell that makes its layer, shows it and only then moves it behind the
// icon-view owner: the layer is looked at once more, this long after it was made or shown,
// and a last time a second after that event, for a restack that nobody reports (Wine's).
constexpr UINT settleMs = 250;
constexpr UINT lastLookMs = 1000 - settleMs;

bool isTopLevelWorker(HWND window)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "WorkerW") == 0 && GetAncestor(window, GA_PARENT) == GetDesktopWindow();
}

void CALLBACK onShellWindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    // Like every event, none is acted on once a shutdown or a fatal report has begun.
    if (!windowEventsAllowed())
        return;
    if (event == EVENT_OBJECT_REORDER) {
        hideWallpaperLayerBehindIconOwner();
        return;
    }
    if ((event != EVENT_OBJECT_CREATE && event != EVENT_OBJECT_SHOW) || object != OBJID_WINDOW || child != CHILDID_SELF)
        return;
    hideReturnedWallpaperLayer(window);
    // The player window's timer, named by the layer's handle, brings the second look.
    if (isTopLevelWorker(window))
        SetTimer(playerWindowHandle, reinterpret_cast<UINT_PTR>(window), settleMs, nullptr);
}
}  // namespace

WallpaperLayerWatch::WallpaperLayerWatch()
{
    DWORD shellProcess = 0;
    if (!GetWindowThreadProcessId(desktopProgramWindow, &shellProcess))
        return;
    // Windows reports a shown layer (EVENT_OBJECT_SHOW) and a restacked one
    // (EVENT_OBJECT_REORDER); Wine reports another process's windows only as they are created,
    // and nothing at all when WINEVENT_SKIPOWNPROCESS is given with a process, so the callback
    // sorts out what is not the layer.
    hook_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_REORDER, nullptr, onShellWindowEvent, shellProcess, 0,
                            WINEVENT_OUTOFCONTEXT);
    // What changed between the embedding and this hook was heard by no one: the whole desktop
    // is looked at once more. The desktop program window's handle names that timer; it is never
    // a "WorkerW", whose handles name the others.
    SetTimer(playerWindowHandle, reinterpret_cast<UINT_PTR>(desktopProgramWindow), settleMs, nullptr);
}

WallpaperLayerWatch::~WallpaperLayerWatch()
{
    if (hook_)
        UnhookWinEvent(hook_);
}

void WallpaperLayerWatch::onSettled(HWND player, UINT_PTR timer)
{
    KillTimer(player, timer);
    if (!windowEventsAllowed())
        return;
    if (timer == reinterpret_cast<UINT_PTR>(desktopProgramWindow)) {
        hideWallpaperLayerOnceSettled();
        return;
    }
    HWND layer = reinterpret_cast<HWND>(timer);
    hideReturnedWallpaperLayer(layer);
    // The first of a layer's two later looks arms the last one.
    if (lookedAtOnce_.erase(layer) == 0) {
        lookedAtOnce_.insert(layer);
        SetTimer(player, timer, lastLookMs, nullptr);
    }
}
