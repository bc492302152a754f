// kv.exe with the display scaled: the settings window keeps its layout at 96 DPI and scales it
// at 120 and 144, the player window covers the screen in its real pixels. Run once per DPI by
// on_scaled_display.sh, in a Wine prefix of that DPI.
#include "tests/app/in_process_settings_window.h"
#include "tests/e2e/player/player_run.h"
#include "tests/driver/gtest_helpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {
struct AtDpi {
    UINT dpi;
    int clientWidth;
    int clientHeight;
    RECT applyButton;
    RECT fileNameEdit;
    RECT browseButton;
    LONG fontHeight;
};

// At 96 DPI the client area is the outer 294 × 154 less Wine's frame (3 pixels each side, a
// title bar of 19): 288 × 129. Code page 936's stock GUI font is 12 pixels high at 96 DPI.
const AtDpi expectations[] = {
    {96, 288, 129, {160, 72, 248, 104}, {32, 24, 256, 56}, {40, 72, 136, 104}, -12},
    {120, 360, 161, {200, 90, 310, 130}, {40, 30, 320, 70}, {50, 90, 170, 130}, -15},    // 129 × 1.25 = 161.25
    {144, 432, 194, {240, 108, 372, 156}, {48, 36, 384, 84}, {60, 108, 204, 156}, -18},  // 129 × 1.5 = 193.5
};

UINT dpiOfThisRun()
{
    const char* dpi = std::getenv("KV_TEST_DPI");
    return dpi ? static_cast<UINT>(std::strtoul(dpi, nullptr, 10)) : 0;
}

UINT screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

class ScaledDisplay : public testing::Test {
protected:
    void SetUp() override
    {
        for (const AtDpi& candidate : expectations)
            if (candidate.dpi == dpiOfThisRun())
                at = &candidate;
        ASSERT_NE(at, nullptr) << "KV_TEST_DPI: " << dpiOfThisRun();
        ASSERT_EQ(screenDpi(), at->dpi) << "the prefix's LogPixels";
    }

    const AtDpi* at = nullptr;
};

TEST_F(ScaledDisplay, SettingsWindowHasTheScaledClientAreaAndControlsAndStaysCentred)
{
    PlayerRun run({nullptr, nullptr, ""});  // nothing remembered: the settings window alone
    ASSERT_TRUE(run.ready());
    RECT client{};
    ASSERT_TRUE(GetClientRect(run.settings, &client));
    EXPECT_EQ(client.right, at->clientWidth);
    EXPECT_EQ(client.bottom, at->clientHeight);
    const RECT outer = kvtest::windowRect(run.settings);
    EXPECT_EQ(outer.left, (kvtest::screenWidth() - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (kvtest::screenHeight() - (outer.bottom - outer.top)) / 2);

    const std::vector<HWND> controls = kvtest::children(run.settings);
    ASSERT_EQ(controls.size(), 3u);
    kvtest::expectRect(kvtest::rectInParent(controls[0]), at->applyButton);
    kvtest::expectRect(kvtest::rectInParent(controls[1]), at->fileNameEdit);
    kvtest::expectRect(kvtest::rectInParent(controls[2]), at->browseButton);

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv->waitForExit(), std::optional<DWORD>(0));
}

TEST_F(ScaledDisplay, SettingsWindowAndControlsHaveTheFontOfTheirDpi)
{
    InProcessSettingsWindow settings;
    ASSERT_NE(settings.window, nullptr);
    const std::vector<HWND> controls = kvtest::children(settings.window);
    EXPECT_EQ(controls.size(), 3u);
    for (HWND control : controls) {
        LOGFONTA font{};
        ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font));
        EXPECT_EQ(font.lfHeight, at->fontHeight);
    }
}

TEST_F(ScaledDisplay, ThePlayerWindowAndItsHostCoverTheScreenInItsPixels)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    const RECT screen{0, 0, static_cast<LONG>(mode.dmPelsWidth), static_cast<LONG>(mode.dmPelsHeight)};

    PlayerRun run({"recording_component", nullptr, "C:\\videos\\sea.mp4"});
    ASSERT_TRUE(run.ready());
    ASSERT_EQ(run.waitForCalls(6).size(), 6u);
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(kvtest::parent(player), run.shell.window(fake_shell::progman));
    kvtest::expectRect(kvtest::windowRect(player), screen);
    const std::vector<HWND> hosts = run.hostWindows();
    ASSERT_EQ(hosts.size(), 1u);
    kvtest::expectRect(kvtest::windowRect(hosts[0]), screen);

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv->waitForExit(), std::optional<DWORD>(0));
}
}  // namespace
