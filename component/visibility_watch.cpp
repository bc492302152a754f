#include "component/visibility_watch.h"

#include <dwmapi.h>
#include <wtsapi32.h>

#include <algorithm>

namespace {

constexpr UINT_PTR burstTimer = 0x6B76;  // a burst of window events has passed
constexpr UINT_PTR pollTimer = 0x6B77;   // the next look while something could be covering
constexpr UINT burstMilliseconds = 30;
constexpr UINT pollMilliseconds = 500;        // twice a second at most
constexpr ULONGLONG watchAfterChange = 2000;  // windows just made may be shown or moved unseen
// Windows 8's cloaking events, beyond the Windows 7 headers we build against; Windows 7 never sends them.
constexpr DWORD eventObjectCloaked = 0x8017;
constexpr DWORD eventObjectUncloaked = 0x8018;

// Out-of-context WinEvent callbacks carry no context of their own; they arrive on the thread
// that set the hook, where these are the watches to tell.
thread_local std::vector<VisibilityWatch*> watchesOfThisThread;

bool hasClass(HWND window, const wchar_t* name)
{
    wchar_t className[32];
    return GetClassNameW(window, className, 32) > 0 && lstrcmpiW(className, name) == 0;
}

// Progman, the shell's WorkerW windows and the one holding the icon view belong to the desktop.
bool desktopsOwn(HWND window)
{
    return hasClass(window, L"Progman") || hasClass(window, L"WorkerW") ||
           FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr) != nullptr;
}

// Windows whose pixels may let the desktop through: layered ones that are not plainly opaque,
// click-through overlays, and windows shaped by a region.
bool seeThrough(HWND window)
{
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (exStyle & WS_EX_TRANSPARENT)
        return true;
    if (exStyle & WS_EX_LAYERED) {
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags))
            return true;
        if ((flags & LWA_COLORKEY) || ((flags & LWA_ALPHA) && alpha != 255))
            return true;
    }
    RECT box;
    return GetWindowRgnBox(window, &box) != ERROR;
}

bool cloaked(HWND window)
{
    DWORD cloak = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloak, sizeof(cloak))) && cloak != 0;
}

// The window's frame as drawn: without the invisible resize borders where the system has them.
RECT frameOf(HWND window)
{
    RECT rect{};
    if (FAILED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &rect, sizeof(rect))))
        GetWindowRect(window, &rect);
    return rect;
}

struct InFront {
    HWND stopAt;  // the control's top-level window: those behind it cannot cover it
    std::vector<RECT> rectangles;
};

BOOL CALLBACK collectInFront(HWND window, LPARAM context)
{
    InFront& inFront = *reinterpret_cast<InFront*>(context);
    if (window == inFront.stopAt)
        return FALSE;
    if (IsWindowVisible(window) && !IsIconic(window) && !desktopsOwn(window) && !seeThrough(window) &&
        !cloaked(window)) {
        inFront.rectangles.push_back(frameOf(window));
    }
    return TRUE;
}

}  // namespace

VisibilityWatch::VisibilityWatch(HWND control, std::function<void(bool seen)> seenChanged)
    : control_(control),
      seenChanged_(std::move(seenChanged)),
      power_(control)
{
    watchesOfThisThread.push_back(this);
    const std::pair<DWORD, DWORD> ranges[] = {
        {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND}, {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
        {EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE},           {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE},
        {eventObjectCloaked, eventObjectUncloaked},
    };
    for (const auto& range : ranges) {
        if (HWINEVENTHOOK hook =
                SetWinEventHook(range.first, range.second, nullptr, onWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT)) {
            hooks_.push_back(hook);
        }
    }
    sessionNotification_ = WTSRegisterSessionNotification(control_, NOTIFY_FOR_THIS_SESSION) != FALSE;
    displayNotification_ =
        RegisterPowerSettingNotification(control_, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
    measure();
    decide();
}

VisibilityWatch::~VisibilityWatch()
{
    KillTimer(control_, burstTimer);
    KillTimer(control_, pollTimer);
    if (displayNotification_)
        UnregisterPowerSettingNotification(displayNotification_);
    if (sessionNotification_)
        WTSUnRegisterSessionNotification(control_);
    for (HWINEVENTHOOK hook : hooks_)
        UnhookWinEvent(hook);
    watchesOfThisThread.erase(std::remove(watchesOfThisThread.begin(), watchesOfThisThread.end(), this),
                              watchesOfThisThread.end());
}

bool VisibilityWatch::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_TIMER:
        if (wParam != burstTimer && wParam != pollTimer)
            return false;
        onTimer(wParam);
        result = 0;
        return true;
    case WM_WTSSESSION_CHANGE:
        onSessionChange(wParam);
        result = 0;
        return true;
    case WM_POWERBROADCAST:
        // kv's settings window sends the power status message when its tick changes.
        if (wParam == PBT_APMPOWERSTATUSCHANGE) {
            power_.readTick();
            reconsider();
            result = TRUE;
            return true;
        }
        if (wParam != PBT_POWERSETTINGCHANGE || !lParam)
            return false;
        onPowerSetting(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
        result = TRUE;
        return true;
    default:
        return false;
    }
}

void CALLBACK VisibilityWatch::onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                          DWORD)
{
    // Top-level windows only: the caret, the cursor and controls inside windows move often.
    // A window already gone by now may have been one.
    const bool topLevelWindow = window && object == OBJID_WINDOW && child == CHILDID_SELF &&
                                (!IsWindow(window) || GetAncestor(window, GA_ROOT) == window);
    if (!topLevelWindow && event != EVENT_SYSTEM_FOREGROUND)
        return;
    for (VisibilityWatch* watch : watchesOfThisThread)
        watch->onWindowsChanged();
}

void VisibilityWatch::onWindowsChanged()
{
    lastChange_ = GetTickCount64();
    if (burstPending_)
        return;
    burstPending_ = SetTimer(control_, burstTimer, burstMilliseconds, nullptr) != 0;
    if (!burstPending_) {
        measure();
        decide();
    }
}

void VisibilityWatch::onTimer(UINT_PTR id)
{
    if (id == burstTimer) {
        KillTimer(control_, burstTimer);
        burstPending_ = false;
    }
    measure();
    decide();
}

void VisibilityWatch::onSessionChange(WPARAM change)
{
    if (change == WTS_SESSION_LOCK)
        locked_ = true;
    if (change == WTS_SESSION_UNLOCK)
        locked_ = false;
    power_.onSessionChange(change);
    reconsider();
}

void VisibilityWatch::onPowerSetting(const POWERBROADCAST_SETTING& setting)
{
    power_.readTick();
    if (IsEqualGUID(setting.PowerSetting, GUID_CONSOLE_DISPLAY_STATE) && setting.DataLength >= sizeof(DWORD)) {
        DWORD state = 0;
        CopyMemory(&state, setting.Data, sizeof(state));
        displayOff_ = state == 0;  // 1 on, 2 dimmed: still seen
    } else {
        power_.onPowerSetting(setting);
    }
    reconsider();
}

// Windows may have changed while nothing could be seen (behind the lock screen, with the
// display off): they are measured again once there is something to see.
void VisibilityWatch::reconsider()
{
    if (!blank())
        measure();
    decide();
}

void VisibilityWatch::measure()
{
    RECT part{};
    if (!GetWindowRect(control_, &part))
        return;
    InFront inFront{GetAncestor(control_, GA_ROOT), {}};
    EnumWindows(collectInFront, reinterpret_cast<LPARAM>(&inFront));
    coverage_ = coverageOnMonitors(part, displayMonitors(), inFront.rectangles);
}

bool VisibilityWatch::blank() const { return locked_ || displayOff_ || power_.holds(); }

void VisibilityWatch::decide()
{
    const bool nothingToSee = blank();
    const bool couldBeCovered = coverage_ != Coverage::clear || GetTickCount64() - lastChange_ < watchAfterChange;
    const bool poll = !nothingToSee && couldBeCovered;
    if (poll != polling_) {
        polling_ = poll && SetTimer(control_, pollTimer, pollMilliseconds, nullptr) != 0;
        if (!poll)
            KillTimer(control_, pollTimer);
    }
    const bool seen = !nothingToSee && coverage_ != Coverage::whole;
    if (seen == seen_)
        return;
    seen_ = seen;
    seenChanged_(seen);
}
