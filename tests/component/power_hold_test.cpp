#include <gtest/gtest.h>

#include "component/power_hold.h"

TEST(PowerHold, BatteryHoldsOnlyWithTheTickSaversAndRemoteSessionsWhateverTheTick)
{
    struct Case {
        bool onBattery, ticked, saver, energySaver, remote;
        bool holds;
    } cases[] = {
        {false, false, false, false, false, false},  // mains, nothing on: plays
        {false, true, false, false, false, false},   // ticked yet on mains
        {true, false, false, false, false, false},   // battery without the tick
        {true, true, false, false, false, true},     //
        {false, false, true, false, false, true},    // battery saver
        {false, false, false, true, false, true},    // energy saver
        {false, false, false, false, true, true},    // remote desktop
        {true, false, true, true, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(holdForPower(c.onBattery, c.ticked, c.saver, c.energySaver, c.remote), c.holds)
            << "battery " << c.onBattery << ", ticked " << c.ticked << ", saver " << c.saver << ", energy saver "
            << c.energySaver << ", remote " << c.remote;
    }
}
