// What the hosted control shows, read back from its window: orientation and colour matrix at
// 1080p down to the last row, and the fill with kept aspect in a window of another shape.
// (Colours in time order with a loop are shown through kv.exe in wallpaper_video_e2e_test.)
#include <gtest/gtest.h>

#include <string>

#include "tests/component/component_test.h"
#include "tests/component/hosted_control.h"
#include "tests/driver/kv_driver.h"

namespace {

class ControlPixels : public ComponentTest {};

TEST_F(ControlPixels, QuadrantsAt1080pSitInTheirCornersInTrueColoursDownToTheLastRow)
{
    HostedControl host(library, 1920, 1080);
    ASSERT_TRUE(host.ready());
    open(host.player(), clipPath("quadrants_1920x1080.mp4"));
    ASSERT_TRUE(kvtest::waitUntil([&] { return kvtest::colourNear(host.pixel(8, 8), 255, 0, 0, 12); }, 5000));
    struct Corner {
        int x, y, red, green, blue;
    } corners[] = {
        {8, 8, 255, 0, 0},    {1911, 8, 0, 255, 0},        {8, 1071, 0, 0, 255},  {1911, 1071, 255, 255, 255},
        {0, 1079, 0, 0, 255}, {1919, 1079, 255, 255, 255}, {900, 500, 255, 0, 0}, {1020, 580, 255, 255, 255},
    };
    for (const Corner& c : corners) {
        const COLORREF seen = host.pixel(c.x, c.y);
        EXPECT_TRUE(kvtest::colourNear(seen, c.red, c.green, c.blue, 12))
            << "at " << c.x << "," << c.y << ": " << int(GetRValue(seen)) << "," << int(GetGValue(seen)) << ","
            << int(GetBValue(seen));
    }
}

TEST_F(ControlPixels, PictureFillsASquareWindowKeepingItsAspect)
{
    // 320 x 180, blue with a white 60 x 60 square in the middle. In 400 x 400 the sides are
    // cropped (70 columns each) and the square shows 133 pixels wide and high, centred.
    HostedControl host(library, 400, 400);
    ASSERT_TRUE(host.ready());
    open(host.player(), clipPath("square_on_blue_320x180.mp4"));
    ASSERT_TRUE(kvtest::waitUntil([&] { return kvtest::colourNear(host.pixel(200, 200), 255, 255, 255, 30); }, 5000));
    struct Point {
        int x, y;
        bool white;
    } points[] = {
        {200, 2, false},   {200, 397, false}, {2, 200, false},   {397, 200, false},  // no bars: blue to every edge
        {140, 200, true},  {260, 200, true},  {200, 140, true},  {200, 260, true},   // square kept square
        {125, 200, false}, {275, 200, false}, {200, 125, false}, {200, 275, false},
    };
    for (const Point& p : points) {
        const COLORREF seen = host.pixel(p.x, p.y);
        const bool ok = p.white ? kvtest::colourNear(seen, 255, 255, 255, 30) : kvtest::colourNear(seen, 0, 0, 255, 40);
        EXPECT_TRUE(ok) << "at " << p.x << "," << p.y << ": " << int(GetRValue(seen)) << "," << int(GetGValue(seen))
                        << "," << int(GetBValue(seen));
    }
}

TEST_F(ControlPixels, UnplayableFileLeavesTheWindowDark)
{
    // A file that is there but holds no video: accepted, then found unplayable by the decoder.
    std::string text = textFileBesideProgram("control_pixels_not_a_video.mp4");
    ASSERT_FALSE(text.empty());
    HostedControl host(library, 200, 100);
    ASSERT_TRUE(host.ready());
    EXPECT_EQ(static_cast<int64_t>(host.player().invokeNumber("Open", {text})), 0);  // it is there: taken
    EXPECT_TRUE(kvtest::waitUntil([&] { return number(host.player(), "GetState") == stateClosed; }, 10000));
    RedrawWindow(host.controlWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(kvtest::waitUntil([&] { return kvtest::colourNear(host.pixel(100, 50), 0, 0, 0, 24); }, 2000));
    DeleteFileA(text.c_str());
}

TEST_F(ControlPixels, A720pEdgeOnA1080pScreenIsFilteredNotStairStepped)
{
    // Black up to column 640 of 1280, white after: at 1.5 times the edge falls at 960 and the
    // pixels across it step up through grey, never down, with black and white either side.
    HostedControl host(library, 1920, 1080);
    ASSERT_TRUE(host.ready());
    open(host.player(), clipPath("halves_1280x720.mp4"));
    ASSERT_TRUE(kvtest::waitUntil([&] { return kvtest::colourNear(host.pixel(1800, 540), 255, 255, 255, 12); }, 5000));
    EXPECT_TRUE(kvtest::colourNear(host.pixel(940, 540), 0, 0, 0, 12));
    EXPECT_TRUE(kvtest::colourNear(host.pixel(980, 540), 255, 255, 255, 12));
    int greys = 0, previous = 0;
    for (int x = 940; x <= 980; ++x) {
        const int level = GetGValue(host.pixel(x, 540));
        EXPECT_GE(level + 12, previous) << "at " << x;
        if (level > 40 && level < 215)
            ++greys;
        previous = level;
    }
    EXPECT_GE(greys, 1);
}

}  // namespace

TEST_F(ControlPixels, TheSameControlShowsThePictureAgainInANewHostAfterItsFirstHostWent)
{
    // As after a shell restart: the first host goes with its window, the player is closed,
    // and the same instance is attached to a new host and opened again.
    AutomationObject player = library.create();
    ASSERT_FALSE(player.isEmpty());
    HWND firstWindow = nullptr;
    {
        HostedControl first(player, 320, 240);
        ASSERT_TRUE(first.ready());
        firstWindow = first.controlWindow();
        open(player, clipPath("pattern_320x240_2s.mp4"));
        number(player, "Play");
        ASSERT_TRUE(kvtest::waitUntil([&] { return number(player, "GetState") == statePlaying; }, 5000));
    }
    EXPECT_FALSE(IsWindow(firstWindow));
    number(player, "Close");

    HostedControl second(player, 400, 400);
    ASSERT_TRUE(second.ready());
    EXPECT_EQ(GetParent(second.controlWindow()), second.hostWindow());
    open(player, clipPath("square_on_blue_320x180.mp4"));
    number(player, "Play");
    EXPECT_TRUE(kvtest::waitUntil([&] { return kvtest::colourNear(second.pixel(200, 200), 255, 255, 255, 30); }, 5000));
    EXPECT_TRUE(kvtest::colourNear(second.pixel(2, 200), 0, 0, 255, 40));
}
