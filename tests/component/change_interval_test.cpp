#include <gtest/gtest.h>

#include "component/change_interval.h"

TEST(ChangeInterval, AtTheEndOfAPassTheNextVideoComesOnceTheIntervalHasPassed)
{
    using std::chrono::minutes;
    using std::chrono::seconds;
    struct Case {
        seconds played;  // of the current video, passes end to end
        minutes interval;
        bool change;
    } cases[] = {
        {seconds(1), minutes(0), true},      // 0: each video once
        {seconds(600), minutes(0), true},    //
        {seconds(10), minutes(1), false},    // a 10 s clip loops...
        {seconds(50), minutes(1), false},    //
        {seconds(60), minutes(1), true},     // ...until a minute has passed
        {seconds(90), minutes(1), true},     // longer than the interval: changes at its end
        {seconds(590), minutes(10), false},  //
        {seconds(600), minutes(10), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(changeAtPassEnd(c.played, c.interval), c.change)
            << c.played.count() << " s played, " << c.interval.count() << " min";
    }
}
