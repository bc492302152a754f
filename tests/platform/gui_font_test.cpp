// The stock GUI font for a DPI: its height back at 96 DPI and on to the new DPI, each step
// rounded as MulDiv rounds (halves away from zero, so -16.5 is -17); the font made for another
// DPI than the system's, and let go with its object.
#include "platform/gui_font.h"

#include "platform/window_dpi.h"

#include <gtest/gtest.h>

namespace {
struct HeightCase {
    LONG stockHeight;
    UINT stockDpi;
    UINT dpi;
    LONG expected;
};

class GuiFontHeight : public testing::TestWithParam<HeightCase> {};

TEST_P(GuiFontHeight, IsThe96DpiHeightScaledToTheDpi)
{
    EXPECT_EQ(guiFontHeight(GetParam().stockHeight, GetParam().stockDpi, GetParam().dpi), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(GuiFont, GuiFontHeight,
                         testing::Values(HeightCase{-12, 96, 96, -12}, HeightCase{-12, 96, 120, -15},
                                         HeightCase{-12, 96, 144, -18}, HeightCase{-12, 96, 192, -24},
                                         HeightCase{-11, 96, 144, -17}, HeightCase{-11, 96, 168, -19},
                                         // a stock font made for 144 or 120 DPI: -12 or -11 at 96
                                         HeightCase{-18, 144, 96, -12}, HeightCase{-18, 144, 192, -24},
                                         HeightCase{-14, 120, 96, -11}, HeightCase{16, 96, 120, 20}));

LOGFONTA logFont(HFONT font)
{
    LOGFONTA described{};
    GetObjectA(font, sizeof described, &described);
    return described;
}

HFONT stockFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

TEST(GuiFont, AtTheSystemDpiItIsTheStockFont)
{
    EXPECT_EQ(GuiFont().handle(), stockFont());
    EXPECT_EQ(GuiFont(systemDpi()).handle(), stockFont());
}

TEST(GuiFont, AtAnotherDpiTheSameFaceWithTheHeightScaledUntilReplaced)
{
    const UINT dpi = systemDpi() * 2;
    const LOGFONTA stock = logFont(stockFont());
    GuiFont font(dpi);
    const HFONT made = font.handle();
    ASSERT_NE(made, stockFont());
    const LOGFONTA scaled = logFont(made);
    EXPECT_STREQ(scaled.lfFaceName, stock.lfFaceName);
    EXPECT_EQ(scaled.lfCharSet, stock.lfCharSet);
    EXPECT_EQ(scaled.lfWeight, stock.lfWeight);
    EXPECT_EQ(scaled.lfHeight, guiFontHeight(stock.lfHeight, systemDpi(), dpi));
    EXPECT_EQ(GetObjectType(made), static_cast<DWORD>(OBJ_FONT));

    font = GuiFont(systemDpi());
    EXPECT_EQ(font.handle(), stockFont());
    EXPECT_EQ(GetObjectType(made), 0u);  // deleted
    EXPECT_EQ(GetObjectType(stockFont()), static_cast<DWORD>(OBJ_FONT));
}
}  // namespace
