// The wallpaper with a second monitor left of or above the primary (on_two_monitors.sh), so
// that the shell's desktop windows, spanning all monitors, begin at negative screen
// coordinates: once embedded, the player window still covers exactly the primary monitor.
#include "tests/e2e/wallpaper/wallpaper_run.h"

#include <gtest/gtest.h>

#include <string>

namespace {
constexpr DWORD comeBackAfterMs = 300;

RECT primaryMonitor()
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

bool onPrimaryMonitor(HWND window)
{
    const RECT rect = kvtest::windowRect(window);
    const RECT primary = primaryMonitor();
    return EqualRect(&rect, &primary) != FALSE;
}

// The player window embedded in the shell's current desktop and shown, or null.
HWND waitForEmbeddedPlayer(const WallpaperRun& run, HWND other = nullptr)
{
    HWND player = nullptr;
    kvtest::waitUntil([&] {
        player = run.playerWindow();
        return player && player != other && kvtest::visible(player) &&
               kvtest::parent(player) == run.shell.window(fake_shell::progman);
    });
    return player != other ? player : nullptr;
}

struct Layout {
    const char* name;
    const char* shellOptions;
};

class PrimaryMonitor : public testing::TestWithParam<Layout> {
protected:
    void SetUp() override
    {
        // The layout this program runs on, or every check below would hold by chance.
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
        ASSERT_TRUE(GetSystemMetrics(SM_XVIRTUALSCREEN) < 0 || GetSystemMetrics(SM_YVIRTUALSCREEN) < 0);
        ASSERT_TRUE(run.ready());
        // As Explorer's, the shell's desktop spans both monitors.
        const RECT progman = kvtest::windowRect(run.shell.window(fake_shell::progman));
        ASSERT_EQ(progman.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
        ASSERT_EQ(progman.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    }

    WallpaperRun run{GetParam().shellOptions};
};
}  // namespace

TEST_P(PrimaryMonitor, TheEmbeddedPlayerWindowCoversThePrimaryMonitor)
{
    run.apply();
    HWND player = waitForEmbeddedPlayer(run);
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(onPrimaryMonitor(player)) << kvtest::rectText(kvtest::windowRect(player)) << ", the primary monitor "
                                          << kvtest::rectText(primaryMonitor());

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(0));
}

TEST_P(PrimaryMonitor, AfterAShellRestartThePlayerWindowCoversThePrimaryMonitorAgain)
{
    run.apply();
    HWND first = waitForEmbeddedPlayer(run);
    ASSERT_NE(first, nullptr);
    const int desktops = run.shell.desktops();
    run.shell.restart(comeBackAfterMs);
    ASSERT_TRUE(kvtest::waitUntil([&] { return run.shell.desktops() == desktops + 1; }));
    HWND player = waitForEmbeddedPlayer(run, first);
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(kvtest::waitUntil([&] { return onPrimaryMonitor(player); }))
        << kvtest::rectText(kvtest::windowRect(player)) << ", the primary monitor "
        << kvtest::rectText(primaryMonitor());

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(Layouts, PrimaryMonitor,
                         testing::Values(Layout{"classic", ""}, Layout{"layout24H2", "--layout-24h2"}),
                         [](const testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });
