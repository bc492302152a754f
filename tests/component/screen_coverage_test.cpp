#include <gtest/gtest.h>

#include <vector>

#include "component/screen_coverage.h"
#include "tests/component/test_names.h"

namespace {

const RECT screenRect{0, 0, 1920, 1080};

}  // namespace

TEST(Coverage, DecidedByWhatIsLeftOfThePartOnTheScreen)
{
    struct Case {
        const char* what;
        RECT part;
        std::vector<RECT> windows;  // frontmost first
        Coverage expected;
    } cases[] = {
        {"no windows", screenRect, {}, Coverage::clear},
        {"one window exactly covering", screenRect, {{0, 0, 1920, 1080}}, Coverage::whole},
        {"one pixel left at the left edge", screenRect, {{1, 0, 1920, 1080}}, Coverage::partly},
        {"one pixel left at the top edge", screenRect, {{0, 1, 1920, 1080}}, Coverage::partly},
        {"one pixel left at the right edge", screenRect, {{0, 0, 1919, 1080}}, Coverage::partly},
        {"one pixel left at the bottom edge", screenRect, {{0, 0, 1920, 1079}}, Coverage::partly},
        {"one pixel left in the middle",
         screenRect,
         {{0, 0, 960, 1080}, {961, 0, 1920, 1080}, {960, 0, 961, 540}},
         Coverage::partly},
        {"two halves side by side", screenRect, {{0, 0, 960, 1080}, {960, 0, 1920, 1080}}, Coverage::whole},
        {"two halves one above the other", screenRect, {{0, 540, 1920, 1080}, {0, 0, 1920, 540}}, Coverage::whole},
        {"three overlapping windows",
         screenRect,
         {{0, 0, 1200, 700}, {800, 0, 1920, 1080}, {0, 500, 1000, 1080}},
         Coverage::whole},
        {"three overlapping windows, a corner open",
         screenRect,
         {{0, 0, 1200, 700}, {800, 0, 1920, 1000}, {0, 500, 1000, 1080}},
         Coverage::partly},
        {"a maximised window moved partly off the screen", screenRect, {{300, 200, 2220, 1280}}, Coverage::partly},
        {"the same, the rest covered by another",
         screenRect,
         {{300, 200, 2220, 1280}, {-50, -50, 400, 1100}, {0, 0, 1920, 250}},
         Coverage::whole},
        {"a window larger than the screen", screenRect, {{-8, -8, 1928, 1088}}, Coverage::whole},
        {"a window far larger, behind a small one",
         screenRect,
         {{100, 100, 300, 300}, {-5000, -5000, 5000, 5000}},
         Coverage::whole},
        {"a 200 x 200 window", screenRect, {{860, 440, 1060, 640}}, Coverage::partly},
        {"windows off the screen", screenRect, {{-2000, 0, 0, 1080}, {1920, 0, 3840, 1080}}, Coverage::clear},
        {"the part larger than the screen, the screen covered",
         {-100, -100, 2100, 1200},
         {{0, 0, 1920, 1080}},
         Coverage::whole},
        {"a small part covered", {100, 100, 200, 200}, {{50, 50, 250, 250}}, Coverage::whole},
        {"a small part, a window beside it", {100, 100, 200, 200}, {{200, 100, 300, 200}}, Coverage::clear},
        {"the part off the screen", {2000, 0, 2400, 300}, {{1900, 0, 2500, 400}}, Coverage::clear},
        {"empty windows", screenRect, {{500, 500, 500, 900}, {0, 0, 1920, 0}}, Coverage::clear},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(coverageName(coverage(c.part, screenRect, c.windows)), coverageName(c.expected)) << c.what;
    }
}
