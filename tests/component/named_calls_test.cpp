// The control through the product's own named calls, without a window: opening, the
// figures of a clip, playing, pausing, seeking, looping, closing, and files it cannot play.
#include <gtest/gtest.h>

#include <string>

#include "tests/component/component_test.h"
#include "tests/driver/kv_driver.h"

namespace {

// 2 s, 320 x 240, 30 pictures a second; 1 s, 160 x 120.
const char twoSeconds[] = "pattern_320x240_2s.mp4";
const char oneSecond[] = "pattern_160x120_1s.mp4";

class NamedCalls : public ComponentTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ComponentTest::SetUp());
        player = library.create();
        ASSERT_FALSE(player.isEmpty());
    }
    void TearDown() override
    {
        player.clear();
        ComponentTest::TearDown();
    }

    int64_t state() const { return number(player, "GetState"); }
    bool openedAndShowing() const
    {
        return state() != stateOpening && !player.invokeBool("IsSeeking") && number(player, "GetVideoWidth") > 0;
    }
    // Opens the file and waits until it is open; the first picture is then on its way.
    void openFile(const std::string& path)
    {
        open(player, path);
        ASSERT_TRUE(kvtest::waitUntil([&] { return state() != stateOpening; }, 5000));
        ASSERT_EQ(state(), statePaused);
    }
    // Positions seen stay the same while 300 ms pass.
    bool positionHolds()
    {
        const int64_t held = number(player, "GetPosition");
        return !kvtest::waitUntil([&] { return number(player, "GetPosition") != held; }, 300);
    }

    void expectEveryFigureZero() const
    {
        for (const char* getter :
             {"GetDuration", "GetPosition", "GetVideoWidth", "GetVideoHeight", "GetBufferProgress"})
            EXPECT_EQ(number(player, getter), 0) << getter;
    }

    // GetConfig as the product's config operation reads it: a VARIANT turned into text.
    std::string variantToTextOf(const char* name, int32_t& item) const
    {
        VARIANT result = player.invokeVariant(name, {item});
        std::string text = variantToText(result);
        releaseVariant(result);
        return text;
    }

    AutomationObject player;
};

TEST_F(NamedCalls, OpenedClipGivesItsDurationAndPictureSize)
{
    openFile(clipPath(twoSeconds));
    // Wine has no video decoding device: the processor, unless this run forces the card.
    EXPECT_EQ(decodedOnCard(player), cardDecodingForced());
    EXPECT_NEAR(number(player, "GetDuration"), 2000, 50);
    EXPECT_EQ(number(player, "GetVideoWidth"), 320);
    EXPECT_EQ(number(player, "GetVideoHeight"), 240);
    EXPECT_EQ(number(player, "GetBufferProgress"), 100);
}

TEST_F(NamedCalls, PositionAdvancesWhilePlayingAndHoldsWhilePaused)
{
    openFile(clipPath(twoSeconds));
    EXPECT_EQ(number(player, "Play"), 0);
    EXPECT_TRUE(
        kvtest::waitUntil([&] { return state() == statePlaying && number(player, "GetPosition") > 300; }, 3000));
    EXPECT_EQ(number(player, "Pause"), 0);
    ASSERT_TRUE(kvtest::waitUntil([&] { return state() == statePaused; }, 1000));
    EXPECT_TRUE(positionHolds());
    const int64_t paused = number(player, "GetPosition");
    EXPECT_EQ(number(player, "Play"), 0);
    EXPECT_TRUE(kvtest::waitUntil([&] { return number(player, "GetPosition") > paused + 200; }, 2000));
}

TEST_F(NamedCalls, SetPositionShowsThePictureAtThatTimeAlsoWhilePaused)
{
    openFile(clipPath(twoSeconds));
    int32_t target = 1500;
    EXPECT_EQ(player.invokeNumber("SetPosition", {target}), 0.0);
    ASSERT_TRUE(kvtest::waitUntil([&] { return !player.invokeBool("IsSeeking"); }, 3000));
    EXPECT_NEAR(number(player, "GetPosition"), 1500, 40);
    EXPECT_EQ(state(), statePaused);
    target = 200;
    player.invokeNumber("SetPosition", {target});
    ASSERT_TRUE(kvtest::waitUntil([&] { return !player.invokeBool("IsSeeking"); }, 3000));
    EXPECT_NEAR(number(player, "GetPosition"), 200, 40);
}

TEST_F(NamedCalls, WithoutLoopPlaybackEndsAtTheEndAndPlayStartsAgain)
{
    openFile(clipPath(oneSecond));
    number(player, "Play");
    ASSERT_TRUE(kvtest::waitUntil([&] { return state() == stateEnded; }, 4000));
    EXPECT_GT(number(player, "GetPosition"), 800);
    number(player, "Play");
    EXPECT_TRUE(
        kvtest::waitUntil([&] { return state() == statePlaying && number(player, "GetPosition") < 500; }, 2000));
}

TEST_F(NamedCalls, LoopItemWrapsThePositionAndPlaybackGoesOn)
{
    EXPECT_EQ(setConfig(player, 8, 1), 0);
    openFile(clipPath(oneSecond));
    number(player, "Play");
    ASSERT_TRUE(kvtest::waitUntil([&] { return number(player, "GetPosition") > 700; }, 3000));
    ASSERT_TRUE(kvtest::waitUntil([&] { return number(player, "GetPosition") < 300; }, 3000));
    EXPECT_TRUE(kvtest::waitUntil([&] { return number(player, "GetPosition") > 500; }, 3000));
    EXPECT_EQ(state(), statePlaying);
}

TEST_F(NamedCalls, CloseThenOpenAgainPlays)
{
    openFile(clipPath(twoSeconds));
    number(player, "Play");
    EXPECT_EQ(number(player, "Close"), 0);
    EXPECT_EQ(state(), stateClosed);
    EXPECT_EQ(number(player, "GetDuration"), 0);
    openFile(clipPath(oneSecond));
    EXPECT_EQ(number(player, "GetVideoWidth"), 160);
    number(player, "Play");
    EXPECT_TRUE(kvtest::waitUntil([&] { return number(player, "GetPosition") > 300; }, 3000));
}

TEST_F(NamedCalls, OpeningTheOpenFileAgainKeepsItAndStartsOverPausedAtTheFirstPicture)
{
    const std::string path = clipPath(twoSeconds);
    openFile(path);
    number(player, "Play");
    ASSERT_TRUE(kvtest::waitUntil([&] { return number(player, "GetPosition") > 500; }, 3000));
    // The same file named in another case: still open, so its figures are there at once,
    // where a new opening would know nothing until it has read the file.
    std::string otherCase = path;
    for (char& c : otherCase)
        c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : (c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
    open(player, otherCase);
    EXPECT_NEAR(number(player, "GetDuration"), 2000, 50);
    EXPECT_EQ(number(player, "GetVideoWidth"), 320);
    EXPECT_EQ(number(player, "GetPosition"), 0);
    ASSERT_TRUE(kvtest::waitUntil([&] { return state() == statePaused && openedAndShowing(); }, 5000));
    EXPECT_LT(number(player, "GetPosition"), 100);
    EXPECT_TRUE(positionHolds());
    number(player, "Play");
    EXPECT_TRUE(kvtest::waitUntil([&] { return number(player, "GetPosition") > 300; }, 3000));
    // Another file opens anew.
    openFile(clipPath(oneSecond));
    EXPECT_EQ(number(player, "GetVideoWidth"), 160);
}

// The wallpaper's road: the same file opened twice in a row, the second time before anything
// has been read, then played. The reader is still at the start, and playback starts there.
TEST_F(NamedCalls, OpeningTheSameFileTwiceInARowShowsTheFirstPictureThenPlaysFromIt)
{
    const std::string path = clipPath(twoSeconds);
    open(player, path);
    open(player, path);
    ASSERT_TRUE(kvtest::waitUntil([&] { return state() == statePaused && openedAndShowing(); }, 5000));
    EXPECT_LT(number(player, "GetPosition"), 100);
    EXPECT_TRUE(positionHolds());
    number(player, "Play");
    EXPECT_TRUE(kvtest::waitUntil([&] { return number(player, "GetPosition") > 300; }, 3000));
    EXPECT_LT(number(player, "GetPosition"), 1500);
}

TEST_F(NamedCalls, MissingFileLeavesEveryFigureZero)
{
    open(player, clipPath("no_such_clip.mp4"));
    EXPECT_TRUE(kvtest::waitUntil([&] { return state() == stateClosed; }, 3000));
    EXPECT_EQ(number(player, "Play"), -1);
    expectEveryFigureZero();
}

TEST_F(NamedCalls, FileThatIsNoVideoLeavesEveryFigureZero)
{
    const std::string fake = textFileBesideProgram("not_a_video.mp4");
    ASSERT_FALSE(fake.empty());
    open(player, fake);
    EXPECT_TRUE(kvtest::waitUntil([&] { return state() == stateClosed; }, 10000));
    number(player, "Play");
    expectEveryFigureZero();
    DeleteFileA(fake.c_str());
}

TEST_F(NamedCalls, PathWithChineseCharactersOpens)
{
    ASSERT_EQ(GetACP(), 936u);
    const std::string chinese = besideProgram("动态壁纸 测试.mp4");
    ASSERT_TRUE(CopyFileA(clipPath(oneSecond).c_str(), chinese.c_str(), FALSE));
    openFile(chinese);
    EXPECT_EQ(number(player, "GetVideoWidth"), 160);
    EXPECT_NEAR(number(player, "GetDuration"), 1000, 50);
    number(player, "Close");
    DeleteFileA(chinese.c_str());
}

TEST_F(NamedCalls, ConfigItemsAnswerAsTextAndUnknownItemsAreAnsweredToo)
{
    int32_t loop = 8, mute = 119, unknown = 4711;
    EXPECT_EQ(variantToTextOf("GetConfig", loop), "0");
    EXPECT_EQ(setConfig(player, 8, 1), 0);
    EXPECT_EQ(setConfig(player, 119, 1), 0);
    EXPECT_EQ(variantToTextOf("GetConfig", loop), "1");
    EXPECT_EQ(variantToTextOf("GetConfig", mute), "1");
    EXPECT_EQ(variantToTextOf("GetConfig", unknown), "");
    EXPECT_EQ(setConfig(player, 4711, 1), -1);
    std::string text = "0";
    EXPECT_EQ(player.invokeNumber("SetConfig", {loop, text}), 0.0);
    EXPECT_EQ(player.invokeText("GetConfig", {loop}), "0");
}

TEST_F(NamedCalls, VolumeLogoAndVersionAreKept)
{
    EXPECT_EQ(number(player, "GetVolume"), 100);
    int32_t volume = 35;
    EXPECT_EQ(player.invokeNumber("SetVolume", {volume}), 0.0);
    EXPECT_EQ(number(player, "GetVolume"), 35);
    volume = 250;
    player.invokeNumber("SetVolume", {volume});
    EXPECT_EQ(number(player, "GetVolume"), 100);
    int32_t logo = 3;
    EXPECT_EQ(player.invokeNumber("SetCustomLogo", {logo}), 0.0);
    EXPECT_FALSE(player.invokeText("GetVersion").empty());
    EXPECT_EQ(state(), stateClosed);
    EXPECT_FALSE(player.invokeBool("IsSeeking"));
}

}  // namespace
