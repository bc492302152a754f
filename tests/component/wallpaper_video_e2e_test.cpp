// The real kv.exe with our APlayer.dll, the video remembered in kv.ini: the wallpaper plays it
// on the screen. The simulated shell runs without a desktop program window, so the player
// window stays a top-level window over the screen, where Wine draws it (a window moved into
// another process's window is never drawn under Wine). Pixels are read from the screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/component/component_host.h"
#include "tests/driver/kv_driver.h"
#include "tests/e2e/wallpaper/fake_shell_session.h"

namespace {

COLORREF screenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool looksLike(COLORREF colour, int red, int green, int blue)
{
    return colour != CLR_INVALID && std::abs(GetRValue(colour) - red) <= 40 && std::abs(GetGValue(colour) - green) <= 40 &&
           std::abs(GetBValue(colour) - blue) <= 40;
}

TEST(WallpaperVideo, RememberedClipPlaysOverTheScreenRedThenBlueThenRedAgain)
{
    FakeShellSession shell("--no-progman");
    ASSERT_TRUE(shell.ready());
    kvtest::ProgramDirectory directory;
    ASSERT_TRUE(directory.copyIn(besideProgram("component\\APlayer.dll"), "APlayer.dll"));
    // Wine's own atl.dll attaches nothing without a container pointer; the test-only one does.
    ASSERT_TRUE(directory.copyIn(besideProgram("fixtures\\atl_shim\\atl.dll"), "atl.dll"));
    ASSERT_TRUE(directory.copyIn(clipPath("red_then_blue_320x240.mp4"), "壁纸.mp4"));
    ASSERT_TRUE(directory.writeFile("kv.ini", "[文件名]\r\n文件名=" + directory.pathOf("壁纸.mp4") + "\r\n"));
    kvtest::Process kv = kvtest::Process::start(directory);
    ASSERT_TRUE(kv.started());
    ASSERT_NE(kv.waitForWindow("pmrq", "pmrq", 15000), nullptr);

    // Corners, away from the settings window in the middle of the screen.
    const int right = kvtest::screenWidth() - 30, bottom = kvtest::screenHeight() - 30;
    auto screenShows = [&](int red, int green, int blue) {
        return [=] { return looksLike(screenPixel(30, 30), red, green, blue) && looksLike(screenPixel(right, bottom), red, green, blue); };
    };
    EXPECT_TRUE(kvtest::waitUntil(screenShows(255, 0, 0), 15000));
    EXPECT_TRUE(kvtest::waitUntil(screenShows(0, 0, 255), 4000));
    EXPECT_TRUE(kvtest::waitUntil(screenShows(255, 0, 0), 4000));
}

}  // namespace
