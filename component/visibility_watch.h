#pragma once
// Whether the control can be seen on some monitor: not while windows in front of it hide all
// of its part of every monitor, the workstation is locked or the console display is off; and
// taken as unseen while PowerHold holds the picture (battery with kv's tick, battery or energy
// saver, a remote desktop session). Told rather than asking: WinEvent hooks for other windows'
// changes, the session's lock and connect notifications and power settings, all on the thread
// that owns the control window.
// A burst of window events is measured once. Where events may not come (Wine delivers only
// window creation for other processes' windows) the coverage is measured again twice a
// second, but only while something could be covering: the part is partly or wholly covered,
// or windows changed a moment ago.
#include <windows.h>

#include <functional>
#include <vector>

#include "component/monitor_parts.h"
#include "component/power_hold.h"

class VisibilityWatch {
public:
    // `seenChanged` is called on this thread each time the answer changes.
    VisibilityWatch(HWND control, std::function<void(bool seen)> seenChanged);
    ~VisibilityWatch();
    VisibilityWatch(const VisibilityWatch&) = delete;
    VisibilityWatch& operator=(const VisibilityWatch&) = delete;

    bool seen() const { return seen_; }
    // The control window's messages; true when the message was the watch's own.
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static void CALLBACK onWinEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                                    DWORD time);
    void onWindowsChanged();
    void onTimer(UINT_PTR id);
    void onSessionChange(WPARAM change);
    void onPowerSetting(const POWERBROADCAST_SETTING& setting);
    void measure();
    bool blank() const;  // locked, display off or held: unseen whatever covers it
    void reconsider();   // after news of the session or power
    void decide();

    HWND control_;
    std::function<void(bool)> seenChanged_;
    std::vector<HWINEVENTHOOK> hooks_;
    HPOWERNOTIFY displayNotification_ = nullptr;
    bool sessionNotification_ = false;
    bool locked_ = false;
    bool displayOff_ = false;
    PowerHold power_;
    Coverage coverage_ = Coverage::clear;
    ULONGLONG lastChange_ = 0;  // tick of the last window event
    bool burstPending_ = false;
    bool polling_ = false;
    bool seen_ = true;
};
