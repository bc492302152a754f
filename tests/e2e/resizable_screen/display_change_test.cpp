// The wallpaper when the primary screen changes size: the player window and the component's
// host follow it. Runs on its own X screen, one that can change its size (on_resizable_screen.sh).
#include "tests/e2e/player/player_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// As the display settings do: Wine changes the X screen's mode through XRandR and tells
// every top-level window with WM_DISPLAYCHANGE (a change made by xrandr itself changes what
// GetSystemMetrics says, but Wine 8 tells no window of it).
bool setScreenSize(int width, int height)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    if (ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr) != DISP_CHANGE_SUCCESSFUL)
        return false;
    return kvtest::waitUntil([&] { return kvtest::screenWidth() == width && kvtest::screenHeight() == height; });
}

bool hasSize(HWND window, int width, int height)
{
    const RECT rect = kvtest::windowRect(window);
    return rect.left == 0 && rect.top == 0 && rect.right - rect.left == width && rect.bottom - rect.top == height;
}

std::string describe(HWND window)
{
    const RECT rect = kvtest::windowRect(window);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
           "x" + std::to_string(rect.bottom - rect.top);
}

struct ScreenSize {
    int width;
    int height;
};
}  // namespace

TEST(DisplayChange, ThePlayerWindowAndItsHostCoverEachNewScreenSize)
{
    ASSERT_TRUE(setScreenSize(1920, 1080));
    PlayerRun run({"recording_component", nullptr, "C:\\videos\\sea.mp4"});
    ASSERT_TRUE(run.ready());
    ASSERT_EQ(run.waitForCalls(6).size(), 6u);
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(hasSize(player, 1920, 1080));

    for (const ScreenSize size : {ScreenSize{1280, 720}, ScreenSize{1920, 1080}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        ASSERT_TRUE(setScreenSize(size.width, size.height));
        EXPECT_TRUE(kvtest::waitUntil([&] {
            const std::vector<HWND> hosts = run.hostWindows();
            return hasSize(player, size.width, size.height) && hosts.size() == 1 &&
                   hasSize(hosts[0], size.width, size.height);
        })) << describe(player)
            << " host " << describe(run.hostWindows().empty() ? nullptr : run.hostWindows()[0]);
        EXPECT_EQ(run.playerWindow(), player);
        EXPECT_EQ(kvtest::parent(player), run.shell.window(fake_shell::progman));
    }

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv->waitForExit(), std::optional<DWORD>(0));
}
