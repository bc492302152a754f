// The graphics card's road as far as Wine can take it. Wine's decoder takes the device manager
// and hands back its pictures in textures, but Wine has no video decoding device, so the test
// seam puts files on that road and plants the failures Windows can have there. Each case reads
// what a user would see (the picture in the window, the position) and the road the control
// reports.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/component/component_test.h"
#include "tests/component/hosted_control.h"
#include "tests/driver/kv_driver.h"

namespace {

// 1 s red, then 1 s blue, 320 x 240, a key picture each second.
const char redThenBlue[] = "red_then_blue_320x240.mp4";

class CardDecoding : public ComponentTest {
protected:
    void TearDown() override
    {
        SetEnvironmentVariableA("KV_CARD_DECODING", nullptr);
        ComponentTest::TearDown();
    }
    static bool blue(COLORREF colour) { return kvtest::colourNear(colour, 0, 0, 255, 40); }
};

TEST_F(CardDecoding, AFailingCardLeavesTheFileToTheProcessorAtThePictureItWasGoingTo)
{
    struct Case {
        const char* seam;
        bool onCard;  // where the file ends up
    } cases[] = {
        {"", false},  // the automatic choice: Wine has no video decoding device
        {"force", true},
        {"force no-device", false},
        {"force no-lock", false},
        {"force lost-after=1", false},  // a lost device, and a new one lost before its first picture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seam);
        SetEnvironmentVariableA("KV_CARD_DECODING", c.seam);
        HostedControl host(library, 320, 240);
        ASSERT_TRUE(host.ready());
        open(host.player(), clipPath(redThenBlue));
        ASSERT_TRUE(kvtest::waitUntil([&] { return number(host.player(), "GetState") == statePaused; }, 5000));
        int32_t target = 1500;
        host.player().invokeNumber("SetPosition", {target});
        ASSERT_TRUE(kvtest::waitUntil(
            [&] { return !host.player().invokeBool("IsSeeking") && blue(host.pixel(160, 120)); }, 5000));
        EXPECT_NEAR(number(host.player(), "GetPosition"), 1500, 40);
        EXPECT_EQ(number(host.player(), "GetState"), statePaused);
        EXPECT_EQ(decodedOnCard(host.player()), c.onCard);
    }
}

// Sleep and resume, or a driver update, take the device away while a file plays: it goes on,
// on a new device, from where it was, to its end.
TEST_F(CardDecoding, ALostDeviceIsMadeAnewAndPlaybackGoesOnFromWhereItWas)
{
    SetEnvironmentVariableA("KV_CARD_DECODING", "force lost-after=45");
    HostedControl host(library, 320, 240);
    ASSERT_TRUE(host.ready());
    open(host.player(), clipPath(redThenBlue));
    number(host.player(), "Play");
    int64_t last = 0, wentBack = 0;
    ASSERT_TRUE(kvtest::waitUntil(
        [&] {
            const int64_t position = number(host.player(), "GetPosition");
            wentBack = std::max(wentBack, last - position);
            last = position;
            return number(host.player(), "GetState") == stateEnded;
        },
        8000));
    EXPECT_EQ(wentBack, 0);
    EXPECT_GT(last, 1900);
    EXPECT_TRUE(blue(host.pixel(160, 120)));
    EXPECT_TRUE(decodedOnCard(host.player()));
}

}  // namespace
