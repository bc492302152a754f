// The control's operations as named calls into the recording component.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/player/player_fixture.h"

using Calls = std::vector<std::string>;

class PlayerOperations : public PlayerFixture {
protected:
    void SetUp() override
    {
        PlayerFixture::SetUp();
        ASSERT_TRUE(create());
        recording_folder::reset();
    }
};

TEST_F(PlayerOperations, OperationsSendTheirNamesAndArguments)
{
    recording_folder::setReplies(
        "Open=5\nGetVolume=40\nSetVolume=1\nSetCustomLogo=7\nIsSeeking=true\n"
        "GetVersion=2.1\nGetConfig.5=on\nSetConfig=done\n");
    EXPECT_EQ(control.open("C:\\videos\\a.mp4"), 0);
    EXPECT_EQ(control.volume(), 40);
    EXPECT_EQ(control.volume(70), 1);
    EXPECT_EQ(control.setCustomLogo(12), 7);
    EXPECT_TRUE(control.isSeeking());
    EXPECT_EQ(control.version(), "2.1");
    EXPECT_EQ(control.config(5), "on");
    EXPECT_EQ(control.config(5, std::string("off")), "done");
    EXPECT_EQ(recording_folder::calls(),
              (Calls{"Open(\"C:\\videos\\a.mp4\")", "GetVolume()", "SetVolume(70)", "SetCustomLogo(12)", "IsSeeking()",
                     "GetVersion()", "GetConfig(5)", "SetConfig(5,\"off\")"}));
}

TEST_F(PlayerOperations, NumberResultsAreTruncatedTowardZero)
{
    recording_folder::setReplies(
        "Play=2.9\nPause=-2.9\nGetState=3\nGetDuration=60000.5\nGetVideoWidth=1920\n"
        "GetVideoHeight=1080\nGetBufferProgress=100\nClose=1\n");
    EXPECT_EQ(control.play(), 2);
    EXPECT_EQ(control.pause(), -2);
    EXPECT_EQ(control.state(), 3);
    EXPECT_EQ(control.duration(), 60000);
    EXPECT_EQ(control.videoWidth(), 1920);
    EXPECT_EQ(control.videoHeight(), 1080);
    EXPECT_EQ(control.bufferProgress(), 100);
    EXPECT_EQ(control.close(), 1);
    EXPECT_EQ(recording_folder::calls(), (Calls{"Play()", "Pause()", "GetState()", "GetDuration()", "GetVideoWidth()",
                                                "GetVideoHeight()", "GetBufferProgress()", "Close()"}));
}

TEST_F(PlayerOperations, SetPositionSendsTheLow32Bits)
{
    control.setPosition((int64_t{1} << 32) + 1000);
    EXPECT_EQ(recording_folder::calls(), (Calls{"SetPosition(1000)"}));
}

struct StepBackCase {
    const char* replies;
    int64_t seconds;
    Calls seeks;  // the SetPosition calls expected
};

class StepBack : public PlayerOperations, public ::testing::WithParamInterface<StepBackCase> {};

// Only the SetPosition calls matter here; the getters are asked as often as needed.
Calls seeksIn(const Calls& calls)
{
    Calls seeks;
    for (const std::string& call : calls)
        if (call.rfind("SetPosition(", 0) == 0)
            seeks.push_back(call);
    return seeks;
}

TEST_P(StepBack, GuardsAgainstThePosition)
{
    recording_folder::setReplies(GetParam().replies);
    control.stepBack(GetParam().seconds);
    EXPECT_EQ(seeksIn(recording_folder::calls()), GetParam().seeks);
}

INSTANTIATE_TEST_SUITE_P(Positions, StepBack,
                         ::testing::Values(StepBackCase{"GetPosition=3000\n", 5, {}},
                                           StepBackCase{"GetPosition=5000\n", 5, {"SetPosition(0)"}},
                                           StepBackCase{"GetPosition=12345\n", 2, {"SetPosition(10345)"}},
                                           StepBackCase{"GetPosition=0\n", 0, {"SetPosition(0)"}}));

class StepBackWithinDuration : public StepBack {};

TEST_P(StepBackWithinDuration, GuardsAgainstTheDuration)
{
    recording_folder::setReplies(GetParam().replies);
    control.stepBackWithinDuration(GetParam().seconds);
    EXPECT_EQ(seeksIn(recording_folder::calls()), GetParam().seeks);
}

INSTANTIATE_TEST_SUITE_P(
    Durations, StepBackWithinDuration,
    ::testing::Values(StepBackCase{"GetDuration=4000\nGetPosition=3000\n", 5, {}},
                      StepBackCase{"GetDuration=10000\nGetPosition=2000\n", 5, {"SetPosition(-3000)"}},
                      StepBackCase{"GetDuration=5000\nGetPosition=8000\n", 5, {"SetPosition(3000)"}}));
