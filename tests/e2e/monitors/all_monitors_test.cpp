// "在所有显示器上播放" from the settings window's system menu, on the two monitors of
// on_two_monitors.sh: ticked, the player window covers the virtual screen and kv.ini keeps the
// choice in a section of its own; unticked, the primary again and kv.ini as it was. With our
// APlayer.dll and the player window top-level (no desktop program window, where Wine draws
// it), each monitor shows the whole picture, filling it.
#include "tests/e2e/wallpaper/wallpaper_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Per channel: the screen's colours of the clip are near the clip's own, not equal.
constexpr int colourTolerance = 40;
// The item's system command.
constexpr WPARAM allMonitorsCommand = 0x0020;
const std::string fileSection = "[文件名]\r\n文件名=C:\\videos\\sea.mp4\r\n";
const std::string allMonitorsSection = "[显示]\r\n所有显示器=1\r\n";

RECT virtualScreen()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

RECT primaryMonitor() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool covers(HWND window, const RECT& area)
{
    const RECT rect = kvtest::windowRect(window);
    return EqualRect(&rect, &area) != FALSE;
}

std::string describe(HWND window) { return kvtest::rectText(kvtest::windowRect(window)); }

void chooseAllMonitors(HWND settings) { PostMessageA(settings, WM_SYSCOMMAND, allMonitorsCommand, 0); }

// The quadrants clip's four colours in the four corners of the monitor: the whole picture,
// filling it (a 16:9 picture on a 16:9 monitor is not cropped).
bool showsWholePicture(const RECT& monitor)
{
    constexpr int inset = 30;
    HDC screen = GetDC(nullptr);
    const bool shown =
        kvtest::colourNear(GetPixel(screen, monitor.left + inset, monitor.top + inset), 255, 0, 0, colourTolerance) &&
        kvtest::colourNear(GetPixel(screen, monitor.right - inset, monitor.top + inset), 0, 255, 0, colourTolerance) &&
        kvtest::colourNear(GetPixel(screen, monitor.left + inset, monitor.bottom - inset), 0, 0, 255,
                           colourTolerance) &&
        kvtest::colourNear(GetPixel(screen, monitor.right - inset, monitor.bottom - inset), 255, 255, 255,
                           colourTolerance);
    ReleaseDC(nullptr, screen);
    return shown;
}
}  // namespace

TEST(AllMonitors, TickedThePlayerCoversAllMonitorsAndKvIniKeepsTheChoiceUntilUnticked)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    WallpaperRun run;
    ASSERT_TRUE(run.ready());
    run.apply();
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(kvtest::waitUntil([&] { return covers(player, primaryMonitor()); })) << describe(player);
    ASSERT_EQ(run.directory.readFile("kv.ini"), fileSection);

    chooseAllMonitors(run.settings);
    EXPECT_TRUE(kvtest::waitUntil([&] { return covers(player, virtualScreen()); })) << describe(player);
    EXPECT_TRUE(kvtest::waitUntil([&] { return run.directory.readFile("kv.ini") == fileSection + allMonitorsSection; }))
        << run.directory.readFile("kv.ini").value_or("(none)");
    EXPECT_EQ(kvtest::parent(player), run.shell.window(fake_shell::progman));

    chooseAllMonitors(run.settings);
    EXPECT_TRUE(kvtest::waitUntil([&] { return covers(player, primaryMonitor()); })) << describe(player);
    EXPECT_TRUE(kvtest::waitUntil([&] { return run.directory.readFile("kv.ini") == fileSection; }))
        << run.directory.readFile("kv.ini").value_or("(none)");

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(0));
}

TEST(AllMonitors, TheChoiceComesBackAtStartAndEachMonitorShowsTheWholePicture)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    FakeShellSession shell("--no-progman");
    ASSERT_TRUE(shell.ready());
    kvtest::ProgramDirectory directory;
    ASSERT_TRUE(directory.copyInOurComponent());
    ASSERT_TRUE(directory.copyIn(kvtest::binDirectory() + "\\..\\clips\\quadrants_1920x1080.mp4", "壁纸.mp4"));
    ASSERT_TRUE(directory.writeFile(
        "kv.ini", "[文件名]\r\n文件名=" + directory.pathOf("壁纸.mp4") + "\r\n" + allMonitorsSection));
    kvtest::Process kv = kvtest::Process::start(directory);
    HWND settings = kv.waitForWindow(nullptr, "kv_动态壁纸设置");
    ASSERT_NE(settings, nullptr);
    HWND player = FindWindowA("pmrq", "pmrq");
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(kvtest::waitUntil([&] { return covers(player, virtualScreen()); })) << describe(player);

    for (const RECT& monitor : kvtest::monitors()) {
        SCOPED_TRACE("monitor at " + std::to_string(monitor.left) + "," + std::to_string(monitor.top));
        EXPECT_TRUE(kvtest::waitUntil([&] { return showsWholePicture(monitor); }));
    }
    // Without a desktop program window, closing the settings window would be the fatal error
    // of a player window gone with it; kv.exe ends with the test.
}

namespace {
// As the display settings do: the monitor's desktop set (a rectangle) or left (empty), then
// one change for all, which Wine makes through XRandR and announces with WM_DISPLAYCHANGE.
bool placeMonitor(const char* device, const RECT& area)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPosition = POINTL{area.left, area.top};
    mode.dmPelsWidth = static_cast<DWORD>(area.right - area.left);
    mode.dmPelsHeight = static_cast<DWORD>(area.bottom - area.top);
    return ChangeDisplaySettingsExA(device, &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr) ==
               DISP_CHANGE_SUCCESSFUL &&
           ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
}

// The monitor that is not the primary: its device name and rectangle.
bool secondMonitor(std::string& device, RECT& area)
{
    DISPLAY_DEVICEA display{};
    display.cb = sizeof display;
    for (DWORD i = 0; EnumDisplayDevicesA(nullptr, i, &display, 0); ++i) {
        if (!(display.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) ||
            (display.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE))
            continue;
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsA(display.DeviceName, ENUM_CURRENT_SETTINGS, &mode))
            return false;
        device = display.DeviceName;
        area = RECT{mode.dmPosition.x, mode.dmPosition.y, mode.dmPosition.x + static_cast<LONG>(mode.dmPelsWidth),
                    mode.dmPosition.y + static_cast<LONG>(mode.dmPelsHeight)};
        return true;
    }
    return false;
}
}  // namespace

TEST(AllMonitors, TickedThePlayerFollowsTheVirtualScreenWhenAMonitorGoesAndComesBack)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    std::string device;
    RECT area{};
    ASSERT_TRUE(secondMonitor(device, area));
    // The remembered video's line, then the choice's section: both in kv.ini at start.
    WallpaperRun run("", "C:\\videos\\sea.mp4\r\n" + allMonitorsSection.substr(0, allMonitorsSection.size() - 2));
    ASSERT_TRUE(run.ready());
    HWND player = nullptr;
    ASSERT_TRUE(kvtest::waitUntil([&] { return (player = run.playerWindow()) != nullptr; }));
    ASSERT_TRUE(kvtest::waitUntil([&] { return covers(player, virtualScreen()); })) << describe(player);

    ASSERT_TRUE(placeMonitor(device.c_str(), RECT{}));
    ASSERT_TRUE(kvtest::waitUntil([] { return GetSystemMetrics(SM_CMONITORS) == 1; }));
    EXPECT_TRUE(kvtest::waitUntil([&] { return covers(player, primaryMonitor()); })) << describe(player);

    ASSERT_TRUE(placeMonitor(device.c_str(), area));
    ASSERT_TRUE(kvtest::waitUntil([] { return GetSystemMetrics(SM_CMONITORS) == 2; }));
    EXPECT_TRUE(kvtest::waitUntil([&] {
        return covers(player, virtualScreen()) && virtualScreen().left + virtualScreen().top < 0;
    })) << describe(player);
    EXPECT_EQ(kvtest::parent(player), run.shell.window(fake_shell::progman));

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(0));
}
