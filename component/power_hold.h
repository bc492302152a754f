#pragma once
// When the wallpaper holds its picture although it could be seen: on battery while kv's menu
// item "使用电池时暂停" is ticked, and whatever the tick while Windows saves energy (battery
// saver, or Windows 11's energy saver), while the session is shown over remote desktop, where
// every picture would cross the network, or while it is disconnected and shown nowhere. Told
// rather than asking: power setting notifications and the session's connect notifications to
// the control window; the tick is read from kv.ini whenever a power notification comes, and
// kv's settings window sends one right after it changes.
#include <windows.h>

#include <vector>

// Hold the picture? Battery alone counts only with the tick.
bool holdForPower(bool onBattery, bool pauseOnBattery, bool saverOn, bool energySaverOn, bool remote);

class PowerHold {
public:
    // Asks for the power notifications for `window`, whose messages are passed on here.
    explicit PowerHold(HWND window);
    ~PowerHold();
    PowerHold(const PowerHold&) = delete;
    PowerHold& operator=(const PowerHold&) = delete;

    bool holds() const;
    // The tick as kv.ini has it now: read again on every power notification.
    void readTick();
    // Settings other than these three are passed over.
    void onPowerSetting(const POWERBROADCAST_SETTING& setting);
    void onSessionChange(WPARAM change);

private:
    std::vector<HPOWERNOTIFY> notifications_;
    bool onBattery_ = false;
    bool pauseOnBattery_ = false;
    bool saverOn_ = false;
    bool energySaverOn_ = false;
    bool remote_ = false;
    bool disconnected_ = false;
};
