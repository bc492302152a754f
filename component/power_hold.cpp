#include "component/power_hold.h"

#include <wtsapi32.h>

#include "component/kv_settings.h"

namespace {

// Newer Windows SDK headers have both; the mingw-w64 headers we build with do not.
// GUID_POWER_SAVING_STATUS: battery saver, 0 off, 1 on.
constexpr GUID powerSavingStatus = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
// GUID_ENERGY_SAVER_STATUS: Windows 11's energy saver, 0 off, 1 standard, 2 high savings.
// Older Windows refuses it or never sends it, which leaves it off.
constexpr GUID energySaverStatus = {0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}};

bool tickedToPauseOnBattery() { return playSetting(L"电池暂停", 0) != 0; }

}  // namespace

bool holdForPower(bool onBattery, bool pauseOnBattery, bool saverOn, bool energySaverOn, bool remote)
{
    return (onBattery && pauseOnBattery) || saverOn || energySaverOn || remote;
}

PowerHold::PowerHold(HWND window)
    : pauseOnBattery_(tickedToPauseOnBattery()),
      remote_(GetSystemMetrics(SM_REMOTESESSION) != 0)
{
    // Windows sends each one's present value right after asking.
    for (const GUID* setting : {&GUID_ACDC_POWER_SOURCE, &powerSavingStatus, &energySaverStatus}) {
        if (HPOWERNOTIFY notification = RegisterPowerSettingNotification(window, setting, DEVICE_NOTIFY_WINDOW_HANDLE))
            notifications_.push_back(notification);
    }
}

PowerHold::~PowerHold()
{
    for (HPOWERNOTIFY notification : notifications_)
        UnregisterPowerSettingNotification(notification);
}

bool PowerHold::holds() const
{
    return disconnected_ || holdForPower(onBattery_, pauseOnBattery_, saverOn_, energySaverOn_, remote_);
}

void PowerHold::readTick() { pauseOnBattery_ = tickedToPauseOnBattery(); }

void PowerHold::onPowerSetting(const POWERBROADCAST_SETTING& setting)
{
    if (setting.DataLength < sizeof(DWORD))
        return;
    DWORD value = 0;
    CopyMemory(&value, setting.Data, sizeof(value));
    if (IsEqualGUID(setting.PowerSetting, GUID_ACDC_POWER_SOURCE))
        onBattery_ = value != 0;  // 1 battery, 2 a short-term source such as a UPS
    else if (IsEqualGUID(setting.PowerSetting, powerSavingStatus))
        saverOn_ = value != 0;
    else if (IsEqualGUID(setting.PowerSetting, energySaverStatus))
        energySaverOn_ = value != 0;
}

void PowerHold::onSessionChange(WPARAM change)
{
    // The news is about this session: shown on a remote client now, or on this machine's
    // console; between a disconnect and the next connect it is shown nowhere.
    if (change == WTS_REMOTE_CONNECT || change == WTS_CONSOLE_CONNECT) {
        remote_ = change == WTS_REMOTE_CONNECT;
        disconnected_ = false;
    }
    if (change == WTS_REMOTE_DISCONNECT || change == WTS_CONSOLE_DISCONNECT)
        disconnected_ = true;
}
