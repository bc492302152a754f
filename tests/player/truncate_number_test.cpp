// Number results and identifiers: the plain conversions of the player.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "player/component_loader.h"
#include "player/player_control.h"

struct TruncateCase {
    double value;
    int64_t expected;
};

class TruncateNumber : public ::testing::TestWithParam<TruncateCase> {};

TEST_P(TruncateNumber, TowardZero) { EXPECT_EQ(truncateNumber(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Values, TruncateNumber,
                         ::testing::Values(TruncateCase{2.9, 2}, TruncateCase{-2.9, -2}, TruncateCase{0.0, 0},
                                           TruncateCase{-0.5, 0}, TruncateCase{4294968296.0, 4294968296},
                                           TruncateCase{std::nan(""), 0},
                                           TruncateCase{std::numeric_limits<double>::infinity(), 0}));

TEST(GuidFromText, ParsesTheComponentClassAndTextThatDoesNotParseGivesZeroBytes)
{
    const GUID expected{0xA9332148, 0xC691, 0x4B9D, {0x91, 0xFC, 0xB9, 0xC4, 0x61, 0xDB, 0xE9, 0xDD}};
    EXPECT_TRUE(IsEqualGUID(guidFromText("{A9332148-C691-4B9D-91FC-B9C461DBE9DD}"), expected));
    EXPECT_TRUE(IsEqualGUID(guidFromText("not a guid"), GUID{}));
}
