#include <gtest/gtest.h>

#include <optional>

#include "component/config_items.h"
#include "component/playback_clock.h"

TEST(PlaybackClock, PicturesAreDueAtTheirDistanceFromTheAnchorAndALoopPassStartsWhereTheLastEnded)
{
    PlaybackClock clock;
    clock.anchor(667000, 50000000);  // first stamp 66.7 ms, shown at wall time 5 s
    EXPECT_EQ(clock.dueAt(667000), 50000000);
    EXPECT_EQ(clock.dueAt(1000000), 50333000);
    // A pass whose last picture is 1.9667 s long ends at 2.0 s, shown at wall time 6.9333 s;
    // the next pass starts at 66.7 ms again, where that one ended.
    clock.startPass(20000000, 667000);
    EXPECT_EQ(clock.dueAt(667000), 69333000);
    EXPECT_EQ(clock.dueAt(1000000), 69666000);
}

TEST(PlaybackClock, ALatePictureIsDroppedAFewTimesInARowAndFarBehindTheClockStartsAgain)
{
    PlaybackClock clock;
    clock.anchor(0, 0);
    const int64_t stamp = 1000000, length = 333333;  // due at wall time 0.1 s, 30 pictures a second
    struct Case {
        int64_t behind;  // wall time past the picture's due time
        int droppedInARow;
        Lateness outcome;
    } cases[] = {
        {-100000, 0, Lateness::onTime},       {0, 0, Lateness::onTime},
        {333333, 0, Lateness::onTime},        {333334, 0, Lateness::drop},
        {333334, 3, Lateness::drop},          {333334, 4, Lateness::onTime},
        {5000000, 0, Lateness::drop},         {5000001, 0, Lateness::restartClock},
        {5000001, 4, Lateness::restartClock},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clock.lateness(stamp, stamp + c.behind, length, c.droppedInARow), c.outcome)
            << c.behind << " behind, " << c.droppedInARow << " dropped";
    }
}

TEST(ConfigItems, KnownItemsTakeValuesInRangeUnknownItemsAreAnsweredEmpty)
{
    ConfigItems items;
    EXPECT_EQ(items.get(loopItem), std::optional<int>(0));
    EXPECT_EQ(items.get(muteItem), std::optional<int>(0));
    struct Case {
        int item, value;
        bool accepted;
        std::optional<int> after;
    } cases[] = {
        {loopItem, 1, true, 1}, {loopItem, 2, false, 1},     {loopItem, -1, false, 1},    {loopItem, 0, true, 0},
        {muteItem, 1, true, 1}, {7, 1, false, std::nullopt}, {0, 0, false, std::nullopt}, {-5, 1, false, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(items.set(c.item, c.value), c.accepted) << c.item << "=" << c.value;
        EXPECT_EQ(items.get(c.item), c.after) << c.item;
    }
}
