#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/monitor_parts.h"
#include "tests/component/test_names.h"
#include "tests/driver/kv_driver.h"

namespace {

// A 1280x720 monitor left of a 1920x1080 primary, tops aligned: a gap below the smaller one.
const RECT leftMonitor{-1280, 0, 0, 720};
const RECT primaryMonitor{0, 0, 1920, 1080};
// The same monitor above the primary instead.
const RECT monitorAbove{0, -720, 1280, 0};

std::string text(const std::vector<RECT>& rects)
{
    std::string out;
    for (const RECT& r : rects)
        out += kvtest::rectText(r) + " ";
    return out;
}

}  // namespace

TEST(MonitorParts, EachMonitorFillsItsOwnPartAndAWindowOnOneMonitorIsOnePart)
{
    struct Case {
        const char* what;
        RECT window;
        std::vector<RECT> monitors;
        std::vector<RECT> expected;  // in the window
    } cases[] = {
        {"one monitor, the window on it", primaryMonitor, {primaryMonitor}, {{0, 0, 1920, 1080}}},
        {"two monitors, the window on the primary",
         primaryMonitor,
         {leftMonitor, primaryMonitor},
         {{0, 0, 1920, 1080}}},
        {"a window partly off its only monitor", {1000, 500, 2500, 1500}, {primaryMonitor}, {{0, 0, 1500, 1000}}},
        {"the virtual screen, a gap below the left monitor",
         {-1280, 0, 1920, 1080},
         {primaryMonitor, leftMonitor},
         {{1280, 0, 3200, 1080}, {0, 0, 1280, 720}}},
        {"the virtual screen, the smaller monitor above",
         {0, -720, 1920, 1080},
         {monitorAbove, primaryMonitor},
         {{0, 0, 1280, 720}, {0, 720, 1920, 1800}}},
        {"a window across both, cut to each",
         {-640, 100, 960, 600},
         {leftMonitor, primaryMonitor},
         {{0, 0, 640, 500}, {640, 0, 1600, 500}}},
        {"a window on no monitor", {5000, 5000, 5100, 5100}, {leftMonitor, primaryMonitor}, {{0, 0, 100, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<RECT> parts = monitorParts(c.window, c.monitors);
        ASSERT_EQ(parts.size(), c.expected.size()) << text(parts);
        for (size_t i = 0; i < parts.size(); ++i)
            EXPECT_TRUE(EqualRect(&parts[i], &c.expected[i]))
                << kvtest::rectText(parts[i]) << " expected " << kvtest::rectText(c.expected[i]);
    }
}

TEST(MonitorParts, ThePictureIsSeenWhileAnyMonitorsPartOfItIs)
{
    const RECT virtualScreen{-1280, 0, 1920, 1080};
    struct Case {
        const char* what;
        RECT part;
        std::vector<RECT> monitors;
        std::vector<RECT> windows;  // frontmost first
        Coverage expected;
    } cases[] = {
        {"nothing in front", virtualScreen, {leftMonitor, primaryMonitor}, {}, Coverage::clear},
        {"the primary covered, the left monitor not",
         virtualScreen,
         {leftMonitor, primaryMonitor},
         {primaryMonitor},
         Coverage::partly},
        {"the left monitor covered, the primary not",
         virtualScreen,
         {leftMonitor, primaryMonitor},
         {leftMonitor},
         Coverage::partly},
        {"both monitors covered, the gap below the left one open",
         virtualScreen,
         {leftMonitor, primaryMonitor},
         {primaryMonitor, leftMonitor},
         Coverage::whole},
        {"one window over all of the virtual screen",
         virtualScreen,
         {leftMonitor, primaryMonitor},
         {virtualScreen},
         Coverage::whole},
        {"both covered but one pixel of the left monitor",
         virtualScreen,
         {leftMonitor, primaryMonitor},
         {primaryMonitor, {-1280, 0, -1, 720}},
         Coverage::partly},
        {"a window only in the gap",
         virtualScreen,
         {leftMonitor, primaryMonitor},
         {{-1280, 720, 0, 1080}},
         Coverage::clear},
        {"the smaller monitor above, both covered",
         {0, -720, 1920, 1080},
         {monitorAbove, primaryMonitor},
         {{0, -720, 1280, 0}, primaryMonitor},
         Coverage::whole},
        {"a part on the primary only, covered",
         primaryMonitor,
         {leftMonitor, primaryMonitor},
         {primaryMonitor},
         Coverage::whole},
        {"a part on the primary only, the left monitor covered",
         primaryMonitor,
         {leftMonitor, primaryMonitor},
         {leftMonitor},
         Coverage::clear},
        {"a part on no monitor",
         {5000, 5000, 5100, 5100},
         {leftMonitor, primaryMonitor},
         {{5000, 5000, 5100, 5100}},
         Coverage::clear},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_STREQ(coverageName(coverageOnMonitors(c.part, c.monitors, c.windows)), coverageName(c.expected));
    }
}
