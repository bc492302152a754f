#include <gtest/gtest.h>

#include "component/fill_mapping.h"

TEST(VisibleArea, CropsTheOverflowEvenlyFromOneAxis)
{
    struct Case {
        int pictureWidth, pictureHeight, windowWidth, windowHeight;
        VisibleArea expected;
    } cases[] = {
        {1920, 1080, 1920, 1080, {0, 0, 1920, 1080}},   // same shape
        {1920, 1080, 1280, 720, {0, 0, 1920, 1080}},    // same shape, smaller
        {1920, 1080, 1920, 1200, {96, 0, 1728, 1080}},  // 16:9 on 16:10: sides cropped
        {1920, 1080, 400, 400, {420, 0, 1080, 1080}},   // square window
        {640, 480, 1920, 1080, {0, 60, 640, 360}},      // 4:3 on 16:9: top and bottom cropped
        {320, 180, 400, 400, {70, 0, 180, 180}},       {0, 0, 400, 400, {0, 0, 0, 0}},  // no picture yet
        {320, 180, 0, 300, {0, 0, 320, 180}},                                           // no window size yet
    };
    for (const Case& c : cases) {
        const VisibleArea got = visibleArea(c.pictureWidth, c.pictureHeight, c.windowWidth, c.windowHeight);
        EXPECT_EQ(got.left, c.expected.left)
            << c.pictureWidth << "x" << c.pictureHeight << " in " << c.windowWidth << "x" << c.windowHeight;
        EXPECT_EQ(got.top, c.expected.top)
            << c.pictureWidth << "x" << c.pictureHeight << " in " << c.windowWidth << "x" << c.windowHeight;
        EXPECT_EQ(got.width, c.expected.width)
            << c.pictureWidth << "x" << c.pictureHeight << " in " << c.windowWidth << "x" << c.windowHeight;
        EXPECT_EQ(got.height, c.expected.height)
            << c.pictureWidth << "x" << c.pictureHeight << " in " << c.windowWidth << "x" << c.windowHeight;
    }
}
