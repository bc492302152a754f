// The settings window's layout at each DPI: controls and client area scaled from 96 DPI,
// rounded as MulDiv rounds (halves away from zero), the frame Windows draws at that DPI around it.
#include "app/settings_layout.h"

#include "platform/window_ids.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct Box {
    int left;
    int top;
    int width;
    int height;
};

struct ControlsCase {
    UINT dpi;
    Box applyButton;
    Box fileNameEdit;
    Box browseButton;
};

class SettingsControlsAtDpi : public testing::TestWithParam<ControlsCase> {};

void expectBox(const ControlLayout& control, const Box& expected)
{
    EXPECT_EQ(control.left, expected.left);
    EXPECT_EQ(control.top, expected.top);
    EXPECT_EQ(control.width, expected.width);
    EXPECT_EQ(control.height, expected.height);
}

TEST_P(SettingsControlsAtDpi, EachEdgeAndLengthIsThe96DpiOneScaled)
{
    const ControlsCase& at = GetParam();
    const auto controls = settingsControls(at.dpi);
    ASSERT_EQ(controls[0].componentId, layout::applyButton);
    ASSERT_EQ(controls[1].componentId, layout::fileNameEdit);
    ASSERT_EQ(controls[2].componentId, layout::browseButton);
    expectBox(controls[0], at.applyButton);
    expectBox(controls[1], at.fileNameEdit);
    expectBox(controls[2], at.browseButton);
}

INSTANTIATE_TEST_SUITE_P(SettingsLayout, SettingsControlsAtDpi,
                         testing::Values(ControlsCase{96, {160, 72, 88, 32}, {32, 24, 224, 32}, {40, 72, 96, 32}},
                                         ControlsCase{120, {200, 90, 110, 40}, {40, 30, 280, 40}, {50, 90, 120, 40}},
                                         ControlsCase{144, {240, 108, 132, 48}, {48, 36, 336, 48}, {60, 108, 144, 48}},
                                         ControlsCase{168, {280, 126, 154, 56}, {56, 42, 392, 56}, {70, 126, 168, 56}},
                                         ControlsCase{192, {320, 144, 176, 64}, {64, 48, 448, 64}, {80, 144, 192, 64}},
                                         // halves: 93.5 → 94, 25.5 → 26, 76.5 → 77, 42.5 → 43
                                         ControlsCase{102, {170, 77, 94, 34}, {34, 26, 238, 34}, {43, 77, 102, 34}},
                                         // 93.75 → 94, 41.67 → 42, 31.25 → 31
                                         ControlsCase{125, {208, 94, 115, 42}, {42, 31, 292, 42}, {52, 94, 125, 42}}),
                         [](const testing::TestParamInfo<ControlsCase>& info) {
                             return "dpi" + std::to_string(info.param.dpi);
                         });

struct WindowCase {
    UINT dpi;
    RECT frameAt96;
    RECT frameAtDpi;
    int screenWidth;
    int screenHeight;
    RECT expected;
};

class SettingsWindowAtDpi : public testing::TestWithParam<WindowCase> {};

TEST_P(SettingsWindowAtDpi, ClientAreaScaledFramedForTheDpiAndCentred)
{
    const WindowCase& at = GetParam();
    const RECT rect = settingsWindowRect(at.dpi, at.frameAt96, at.frameAtDpi, at.screenWidth, at.screenHeight);
    EXPECT_EQ(rect.left, at.expected.left);
    EXPECT_EQ(rect.top, at.expected.top);
    EXPECT_EQ(rect.right, at.expected.right);
    EXPECT_EQ(rect.bottom, at.expected.bottom);
}

// Wine's frame: 3 pixels each side, a title bar of 19 at 96 DPI (client 288 × 129), 24 at 120,
// 28 at 144. Windows 10's: a title bar of 23 at 96 DPI (client 288 × 125).
INSTANTIATE_TEST_SUITE_P(SettingsLayout, SettingsWindowAtDpi,
                         testing::Values(
                             // at 96 DPI exactly the fixed outer size, 294 × 154
                             WindowCase{96, {-3, -22, 3, 3}, {-3, -22, 3, 3}, 1920, 1080, {813, 463, 1107, 617}},
                             WindowCase{96, {-3, -26, 3, 3}, {-3, -26, 3, 3}, 1921, 1081, {813, 463, 1107, 617}},
                             // client 360 × 161.25 → 161, frame 6 × 30
                             WindowCase{120, {-3, -22, 3, 3}, {-3, -27, 3, 3}, 1920, 1080, {777, 444, 1143, 635}},
                             // client 432 × 193.5 → 194, frame 6 × 34
                             WindowCase{144, {-3, -22, 3, 3}, {-3, -31, 3, 3}, 1920, 1080, {741, 426, 1179, 654}},
                             // client 504 × 218.75 → 219, frame 10 × 49
                             WindowCase{168, {-3, -26, 3, 3}, {-5, -44, 5, 5}, 2560, 1440, {1023, 586, 1537, 854}},
                             // client 576 × 250, frame 12 × 58
                             WindowCase{192, {-3, -26, 3, 3}, {-6, -52, 6, 6}, 3840, 2160, {1626, 926, 2214, 1234}},
                             // client 300 × 130.2 → 130
                             WindowCase{100, {-3, -26, 3, 3}, {-3, -27, 3, 3}, 1366, 768, {530, 304, 836, 464}},
                             // client 306 × 137.06 → 137
                             WindowCase{102, {-3, -22, 3, 3}, {-3, -23, 3, 3}, 1920, 1080, {804, 458, 1116, 621}}),
                         [](const testing::TestParamInfo<WindowCase>& info) {
                             return "dpi" + std::to_string(info.param.dpi) + "_case" + std::to_string(info.index);
                         });
}  // namespace
