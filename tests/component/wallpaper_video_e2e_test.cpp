// The real kv.exe with our APlayer.dll, the video remembered in kv.ini: the wallpaper plays it
// on the screen. The simulated shell runs without a desktop program window, so the player
// window stays a top-level window over the screen, where Wine draws it (a window moved into
// another process's window is never drawn under Wine). Pixels are read from the screen.
// Windows of this test in front of it stand for the user's other programs.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "tests/component/component_host.h"
#include "tests/component/cover_window.h"
#include "tests/driver/kv_driver.h"
#include "tests/driver/processor_time.h"
#include "tests/e2e/wallpaper/fake_shell_session.h"

namespace {

// Per channel: the screen's colours of the clip are near the clip's own, not equal.
constexpr int colourTolerance = 40;

COLORREF screenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Corners, away from the settings window in the middle of the screen.
std::function<bool()> screenShows(int red, int green, int blue)
{
    const int right = kvtest::screenWidth() - 30, bottom = kvtest::screenHeight() - 30;
    return [=] {
        return kvtest::colourNear(screenPixel(30, 30), red, green, blue, colourTolerance) &&
               kvtest::colourNear(screenPixel(right, bottom), red, green, blue, colourTolerance);
    };
}

// Lets `milliseconds` pass while this thread's messages flow.
void letTimePass(DWORD milliseconds)
{
    const ULONGLONG until = GetTickCount64() + milliseconds;
    kvtest::waitUntil([&] { return GetTickCount64() >= until; }, milliseconds + 1000);
}

class WallpaperVideo : public ::testing::Test {
protected:
    // kv.exe playing the red-then-blue clip over the screen, red shown.
    void start()
    {
        ASSERT_TRUE(shell.ready());
        ASSERT_TRUE(directory.copyInOurComponent());
        ASSERT_TRUE(directory.copyIn(clipPath("red_then_blue_320x240.mp4"), "壁纸.mp4"));
        ASSERT_TRUE(directory.writeFile("kv.ini", "[文件名]\r\n文件名=" + directory.pathOf("壁纸.mp4") + "\r\n"));
        kv = std::make_unique<kvtest::Process>(kvtest::Process::start(directory));
        ASSERT_TRUE(kv->started());
        ASSERT_NE(kv->waitForWindow("pmrq", "pmrq", 15000), nullptr);
        ASSERT_TRUE(kvtest::waitUntil(screenShows(255, 0, 0), 15000));
    }
    // kv.exe's share of one core over the next `milliseconds`.
    double shareOfACore(DWORD milliseconds)
    {
        const kvtest::ProcessorTime time(kv->id(), directory.path());
        const double before = time.seconds();
        const ULONGLONG start = GetTickCount64();
        letTimePass(milliseconds);
        const double after = time.seconds();
        if (before < 0 || after < 0)
            return -1;
        return (after - before) / ((GetTickCount64() - start) / 1000.0);
    }
    // Nobody sees the wallpaper: within 1 s kv.exe falls quiet.
    void expectQuiet(const char* what)
    {
        letTimePass(1000);
        const double share = shareOfACore(2000);
        std::printf("%s: kv.exe %.2f %% of a core\n", what, share * 100);
        EXPECT_GE(share, 0) << what;
        EXPECT_LT(share, quietShare) << what;
    }
    // Seen, the clip costs kv.exe well above what "quiet" allows (8 to 11 % of a core are
    // seen): the reading measures kv.exe at all, so a quiet reading later means kv.exe is quiet.
    void expectBusy()
    {
        const double share = shareOfACore(2000);
        std::printf("seen: kv.exe %.2f %% of a core\n", share * 100);
        EXPECT_GT(share, 2 * quietShare);
    }

    static constexpr double quietShare = 0.02;  // of a core
    // Pictures flow on the screen: the colour at the top-left corner, which the covers
    // below leave free once they let the wallpaper show, changes and changes back.
    void expectPlaying(const char* what)
    {
        auto cornerShows = [](int red, int green, int blue) {
            return [=] { return kvtest::colourNear(screenPixel(30, 30), red, green, blue, colourTolerance); };
        };
        const bool red = cornerShows(255, 0, 0)();
        const ULONGLONG start = GetTickCount64();
        EXPECT_TRUE(kvtest::waitUntil(red ? cornerShows(0, 0, 255) : cornerShows(255, 0, 0), 4000)) << what;
        EXPECT_TRUE(kvtest::waitUntil(red ? cornerShows(255, 0, 0) : cornerShows(0, 0, 255), 4000)) << what;
        std::printf("%s: the picture changed twice within %llu ms\n", what,
                    static_cast<unsigned long long>(GetTickCount64() - start));
    }

    FakeShellSession shell{"--no-progman"};
    kvtest::ProgramDirectory directory;
    std::unique_ptr<kvtest::Process> kv;
};

TEST_F(WallpaperVideo, RememberedClipPlaysOverTheScreenRedThenBlueThenRedAgain)
{
    start();
    EXPECT_TRUE(kvtest::waitUntil(screenShows(0, 0, 255), 4000));
    EXPECT_TRUE(kvtest::waitUntil(screenShows(255, 0, 0), 4000));
}

TEST_F(WallpaperVideo, WindowsHidingTheWholeScreenQuietenKvUntilTheyGo)
{
    start();
    expectBusy();
    const int width = kvtest::screenWidth(), height = kvtest::screenHeight();
    {
        CoverWindow whole(0, 0, width, height);
        ASSERT_TRUE(whole.made());
        expectQuiet("one window over the screen");
        whole.close();
        expectPlaying("that window closed");
    }
    {
        CoverWindow left(0, 0, width / 2, height), right(width / 2, 0, width - width / 2, height);
        expectQuiet("two half-screen windows");
        left.minimise();
        expectPlaying("one half minimised");
    }
    {
        CoverWindow small(width / 2 - 100, height / 2 - 100, 200, 200);
        expectPlaying("a 200 x 200 window");
    }
}

}  // namespace
