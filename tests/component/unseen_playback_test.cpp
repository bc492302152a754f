// The hosted control stops spending while nobody can see it and goes on where it stopped once
// they can: windows of this process covering the screen, and the session's lock and the
// console display's notifications sent to the control window as the system sends them, and
// the control window asking the system for those notifications (Wine cannot lock a session or
// turn the display off, so the asking is seen in the component's calls to the system). Also
// held while seen: on battery with kv's tick in kv.ini, under battery or energy saver, in a
// remote desktop session. The control is loaded from a copy in a program folder of its own.
// (kv.exe covered by another process's windows: wallpaper_video_e2e_test.)
#include <gtest/gtest.h>
#include <windows.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "tests/component/cover_window.h"
#include "tests/component/component_host.h"
#include "tests/component/hosted_control.h"
#include "tests/driver/gtest_helpers.h"
#include "tests/driver/kv_driver.h"

namespace {

// Not in the mingw-w64 headers we build with: battery saver, and Windows 11's energy saver.
constexpr GUID powerSavingStatus = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
constexpr GUID energySaverStatus = {0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}};

class UnseenPlayback : public kvtest::OleTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OleTest::SetUp());
        ASSERT_TRUE(program.copyIn(kvtest::binDirectory() + "\\component\\APlayer.dll", "APlayer.dll"));
        library.emplace(program.pathOf("APlayer.dll"));
        ASSERT_TRUE(library->loaded());
        host = std::make_unique<HostedControl>(*library, 320, 240);
        ASSERT_TRUE(host->ready());
        EXPECT_EQ(setConfig(player(), 8, 1), 0);
        open(player(), clipPath("red_then_blue_320x240.mp4"));
        EXPECT_EQ(number(player(), "Play"), 0);
        ASSERT_TRUE(advances());
    }
    void TearDown() override
    {
        host.reset();
        library.reset();  // before the program folder goes
        OleTest::TearDown();
    }

    const AutomationObject& player() const { return host->player(); }
    int64_t position() const { return number(player(), "GetPosition"); }
    int64_t state() const { return number(player(), "GetState"); }
    int screenWidth() const { return GetSystemMetrics(SM_CXSCREEN); }
    int screenHeight() const { return GetSystemMetrics(SM_CYSCREEN); }

    // The position stays where it is for 600 ms on end (more than a picture's time and a
    // re-check's), within `milliseconds`.
    bool holdsStill(DWORD milliseconds = 3000) const
    {
        int64_t held = position();
        ULONGLONG since = GetTickCount64();
        return kvtest::waitUntil(
            [&] {
                const int64_t now = position();
                if (now != held) {
                    held = now;
                    since = GetTickCount64();
                }
                return GetTickCount64() - since >= 600;
            },
            milliseconds);
    }
    // The position moves on from where it is now, within `milliseconds`; prints how long it took.
    bool advances(DWORD milliseconds = 3000) const
    {
        const int64_t from = position();
        const ULONGLONG start = GetTickCount64();
        const bool moved = kvtest::waitUntil([&] { return position() != from; }, milliseconds);
        std::printf("position moved on after %llu ms\n", static_cast<unsigned long long>(GetTickCount64() - start));
        return moved;
    }
    // The picture, never the dark fill: red or blue.
    bool showsAPicture() const
    {
        const COLORREF colour = host->pixel(160, 120);
        return kvtest::colourNear(colour, 255, 0, 0, 40) || kvtest::colourNear(colour, 0, 0, 255, 40);
    }
    void sendSessionChange(WPARAM change) const
    {
        SendMessageW(host->controlWindow(), WM_WTSSESSION_CHANGE, change,
                     static_cast<LPARAM>(WTSGetActiveConsoleSessionId()));
    }
    void sendDisplayState(DWORD state) const { sendPowerSetting(GUID_CONSOLE_DISPLAY_STATE, state); }
    void sendPowerSetting(const GUID& name, DWORD state) const
    {
        POWERBROADCAST_SETTING setting{name, sizeof(DWORD), {0}};
        CopyMemory(setting.Data, &state, sizeof(state));
        SendMessageW(host->controlWindow(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                     reinterpret_cast<LPARAM>(&setting));
    }
    // As kv's settings window does when the user changes the tick: kv.ini, then the message.
    void tick(bool ticked) const
    {
        ASSERT_TRUE(
            WritePrivateProfileStringA("播放", "电池暂停", ticked ? "1" : nullptr, program.pathOf("kv.ini").c_str()));
        SendMessageW(host->controlWindow(), WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0);
    }

    kvtest::ProgramDirectory program;
    std::optional<ComponentLibrary> library;
    std::unique_ptr<HostedControl> host;
};

TEST_F(UnseenPlayback, CoveredItHoldsStillYetPlaysAndGoesOnWithAPictureWhenTheCoverCloses)
{
    CoverWindow cover(0, 0, screenWidth(), screenHeight());
    ASSERT_TRUE(cover.made());
    EXPECT_TRUE(holdsStill());
    EXPECT_EQ(state(), statePlaying);
    const int64_t held = position();
    cover.close();
    EXPECT_TRUE(kvtest::waitUntil([&] { return showsAPicture(); }, 1000));
    EXPECT_TRUE(advances(1000));
    // It went on from where it stopped, not from the start or a jump ahead (the clip loops).
    const int64_t duration = number(player(), "GetDuration");
    ASSERT_GT(duration, 0);
    EXPECT_LT((position() - held + duration) % duration, 700);
}

TEST_F(UnseenPlayback, CoversThatTogetherHideItStopItWhicheverHasTheFocus)
{
    struct Case {
        const char* what;
        std::vector<RECT> covers;  // left, top, width, height
        bool hidden;
    } cases[] = {
        {"two halves", {{0, 0, 160, 240}, {160, 0, 160, 240}}, true},
        {"three overlapping", {{0, 0, 200, 150}, {100, 0, 220, 240}, {0, 100, 150, 140}}, true},
        {"one pixel left at the right", {{0, 0, 319, 240}}, false},
    };
    for (const Case& c : cases) {
        std::vector<std::unique_ptr<CoverWindow>> covers;
        for (const RECT& r : c.covers)
            covers.push_back(std::make_unique<CoverWindow>(r.left, r.top, r.right, r.bottom));
        SetForegroundWindow(covers.front()->window());  // the focus on the first made, not the frontmost
        if (c.hidden) {
            EXPECT_TRUE(holdsStill()) << c.what;
            EXPECT_EQ(state(), statePlaying) << c.what;
        } else {
            EXPECT_TRUE(advances()) << c.what;
            EXPECT_TRUE(advances()) << c.what;
        }
        covers.clear();
        EXPECT_TRUE(advances(1000)) << c.what;
    }
}

TEST_F(UnseenPlayback, ASmallWindowInFrontLeavesItPlayingAndMinimisingTheCoverShowsIt)
{
    {
        CoverWindow small(60, 20, 200, 200);
        EXPECT_TRUE(advances());
        EXPECT_TRUE(advances());
    }
    CoverWindow cover(0, 0, screenWidth(), screenHeight());
    EXPECT_TRUE(holdsStill());
    cover.minimise();
    EXPECT_TRUE(advances(1000));
}

TEST_F(UnseenPlayback, PauseWhileUnseenStaysPausedAndPlayWhileUnseenPlaysOnceSeen)
{
    auto cover = std::make_unique<CoverWindow>(0, 0, screenWidth(), screenHeight());
    EXPECT_TRUE(holdsStill());
    EXPECT_EQ(number(player(), "Pause"), 0);
    EXPECT_TRUE(kvtest::waitUntil([&] { return state() == statePaused; }, 1000));
    cover.reset();
    EXPECT_TRUE(holdsStill());
    EXPECT_EQ(state(), statePaused);

    cover = std::make_unique<CoverWindow>(0, 0, screenWidth(), screenHeight());
    EXPECT_EQ(number(player(), "Play"), 0);
    EXPECT_TRUE(kvtest::waitUntil([&] { return state() == statePlaying; }, 1000));
    EXPECT_TRUE(holdsStill());
    cover.reset();
    EXPECT_TRUE(advances(1000));
}

TEST_F(UnseenPlayback, LockedSessionAndDarkDisplayStopItUntilTheyEnd)
{
    sendSessionChange(WTS_SESSION_LOCK);
    EXPECT_TRUE(holdsStill());
    EXPECT_EQ(state(), statePlaying);
    sendSessionChange(WTS_SESSION_UNLOCK);
    EXPECT_TRUE(advances(1000));

    sendDisplayState(0);  // off
    EXPECT_TRUE(holdsStill());
    EXPECT_EQ(state(), statePlaying);
    sendDisplayState(2);  // dimmed: still seen
    EXPECT_TRUE(advances(1000));
    EXPECT_TRUE(advances());
    sendDisplayState(0);
    EXPECT_TRUE(holdsStill());
    sendDisplayState(1);  // on
    EXPECT_TRUE(advances(1000));

    // Both at once: seen again only when both have ended.
    sendSessionChange(WTS_SESSION_LOCK);
    sendDisplayState(0);
    EXPECT_TRUE(holdsStill());
    sendDisplayState(1);
    EXPECT_TRUE(holdsStill());
    sendSessionChange(WTS_SESSION_UNLOCK);
    EXPECT_TRUE(advances(1000));
}

TEST_F(UnseenPlayback, BatteryWithTheTickSaversAndRemoteSessionsHoldItUntilTheyEnd)
{
    const struct {
        const char* what;
        std::function<void()> news;
        bool holds;
    } steps[] = {
        {"on battery, not ticked", [&] { sendPowerSetting(GUID_ACDC_POWER_SOURCE, 1); }, false},
        {"ticked while on battery", [&] { tick(true); }, true},
        {"on mains, ticked", [&] { sendPowerSetting(GUID_ACDC_POWER_SOURCE, 0); }, false},
        {"on a UPS, ticked", [&] { sendPowerSetting(GUID_ACDC_POWER_SOURCE, 2); }, true},
        {"unticked while on a UPS", [&] { tick(false); }, false},
        {"battery saver on", [&] { sendPowerSetting(powerSavingStatus, 1); }, true},
        {"battery saver off", [&] { sendPowerSetting(powerSavingStatus, 0); }, false},
        {"energy saver high savings", [&] { sendPowerSetting(energySaverStatus, 2); }, true},
        {"energy saver off", [&] { sendPowerSetting(energySaverStatus, 0); }, false},
        {"shown over remote desktop", [&] { sendSessionChange(WTS_REMOTE_CONNECT); }, true},
        {"shown on the console again", [&] { sendSessionChange(WTS_CONSOLE_CONNECT); }, false},
        {"the console left for another user", [&] { sendSessionChange(WTS_CONSOLE_DISCONNECT); }, true},
        {"back on the console", [&] { sendSessionChange(WTS_CONSOLE_CONNECT); }, false},
    };
    for (const auto& step : steps) {
        step.news();
        if (step.holds) {
            EXPECT_TRUE(holdsStill()) << step.what;
            EXPECT_EQ(state(), statePlaying) << step.what;
        } else {
            EXPECT_TRUE(advances(1000)) << step.what;
            EXPECT_TRUE(advances()) << step.what;
        }
    }
}

// The slot of `module`'s import table through which it calls `function` of `library`.
void** importSlot(HMODULE module, const char* library, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
         ++entry) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), library) != 0)
            continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* named = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(named->Name), function) == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

// One of the component's imports sent to `replacement` while this lives; `original` is the
// function it called before.
class ImportPatch {
public:
    ImportPatch(HMODULE module, const char* library, const char* function, void* replacement, void*& original)
        : slot_(importSlot(module, library, function))
    {
        if (!slot_)
            return;
        original = before_ = *slot_;
        write(replacement);
    }
    ~ImportPatch()
    {
        if (slot_)
            write(before_);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    bool made() const { return slot_ != nullptr; }

private:
    void write(void* target)
    {
        DWORD protection = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        *slot_ = target;
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    }
    void** slot_;
    void* before_ = nullptr;
};

// What the component asked of the system, passed on to the system's own functions.
struct NotificationRequests {
    void* registerSession = nullptr;
    void* unregisterSession = nullptr;
    void* registerPower = nullptr;
    void* unregisterPower = nullptr;
    HWND sessionWindow = nullptr;
    DWORD sessionFlags = ~0u;
    HWND sessionEndedFor = nullptr;
    std::vector<GUID> powerSettings;  // asked for as window messages
    std::vector<HANDLE> powerRecipients;
    std::vector<HPOWERNOTIFY> powerHandles;
    std::vector<HPOWERNOTIFY> powerEnded;
};

NotificationRequests& requests()
{
    static NotificationRequests seen;
    return seen;
}

BOOL WINAPI registerSession(HWND window, DWORD flags)
{
    requests().sessionWindow = window;
    requests().sessionFlags = flags;
    return reinterpret_cast<BOOL(WINAPI*)(HWND, DWORD)>(requests().registerSession)(window, flags);
}

BOOL WINAPI unregisterSession(HWND window)
{
    requests().sessionEndedFor = window;
    return reinterpret_cast<BOOL(WINAPI*)(HWND)>(requests().unregisterSession)(window);
}

HPOWERNOTIFY WINAPI registerPower(HANDLE recipient, LPCGUID setting, DWORD flags)
{
    requests().powerSettings.push_back(setting && flags == DEVICE_NOTIFY_WINDOW_HANDLE ? *setting : GUID{});
    requests().powerRecipients.push_back(recipient);
    const HPOWERNOTIFY handle = reinterpret_cast<HPOWERNOTIFY(WINAPI*)(HANDLE, LPCGUID, DWORD)>(
        requests().registerPower)(recipient, setting, flags);
    if (handle)
        requests().powerHandles.push_back(handle);
    return handle;
}

BOOL WINAPI unregisterPower(HPOWERNOTIFY handle)
{
    requests().powerEnded.push_back(handle);
    return reinterpret_cast<BOOL(WINAPI*)(HPOWERNOTIFY)>(requests().unregisterPower)(handle);
}

TEST(UnseenPlaybackNotifications, TheControlWindowAsksForSessionAndPowerNotificationsAndGivesThemBackWhenGone)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        ComponentLibrary library;
        ASSERT_TRUE(library.loaded());
        // By path: the copies the other tests loaded stay mapped under the same name.
        HMODULE component = GetModuleHandleA(besideProgram("component\\APlayer.dll").c_str());
        NotificationRequests& seen = requests();
        seen = NotificationRequests{};
        const ImportPatch patches[] = {
            {component, "wtsapi32.dll", "WTSRegisterSessionNotification", reinterpret_cast<void*>(registerSession),
             seen.registerSession},
            {component, "wtsapi32.dll", "WTSUnRegisterSessionNotification", reinterpret_cast<void*>(unregisterSession),
             seen.unregisterSession},
            {component, "user32.dll", "RegisterPowerSettingNotification", reinterpret_cast<void*>(registerPower),
             seen.registerPower},
            {component, "user32.dll", "UnregisterPowerSettingNotification", reinterpret_cast<void*>(unregisterPower),
             seen.unregisterPower},
        };
        for (const ImportPatch& patch : patches)
            ASSERT_TRUE(patch.made());

        HWND control = nullptr;
        {
            HostedControl host(library, 320, 240);
            ASSERT_TRUE(host.ready());
            control = host.controlWindow();
            EXPECT_EQ(seen.sessionWindow, control);
            EXPECT_EQ(seen.sessionFlags, static_cast<DWORD>(NOTIFY_FOR_THIS_SESSION));
            const GUID wanted[] = {GUID_CONSOLE_DISPLAY_STATE, GUID_ACDC_POWER_SOURCE, powerSavingStatus,
                                   energySaverStatus};
            EXPECT_TRUE(std::is_permutation(std::begin(wanted), std::end(wanted), seen.powerSettings.begin(),
                                            seen.powerSettings.end(), IsEqualGUID));
            EXPECT_EQ(std::count(seen.powerRecipients.begin(), seen.powerRecipients.end(), control), std::size(wanted));
            EXPECT_EQ(seen.sessionEndedFor, nullptr);
            EXPECT_TRUE(seen.powerEnded.empty());
        }
        EXPECT_EQ(seen.sessionEndedFor, control);
        EXPECT_FALSE(seen.powerHandles.empty());
        EXPECT_TRUE(std::is_permutation(seen.powerHandles.begin(), seen.powerHandles.end(), seen.powerEnded.begin(),
                                        seen.powerEnded.end()));
    }
    OleUninitialize();
}

}  // namespace
