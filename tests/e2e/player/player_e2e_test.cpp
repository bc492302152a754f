// kv.exe with the recording playback component: which calls reach the component, in which
// order, and the host window it is shown in; and runs whose component cannot be had.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/player/player_run.h"

namespace {

using Calls = std::vector<std::string>;

const std::string video = "C:\\videos\\sea.mp4";
const std::string otherVideo = "C:\\videos\\河流.mp4";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

Calls startCalls(const std::string& path)
{
    return {"SetConfig(8,1)", "SetConfig(119,1)",           "Open(" + quoted(path) + ")",
            "Play()",         "Open(" + quoted(path) + ")", "Play()"};
}

// Closes the settings window and waits for the run to end.
std::optional<DWORD> closeAndWait(PlayerRun& run)
{
    kvtest::close(run.settings);
    return run.kv->waitForExit();
}

}  // namespace

TEST(PlayerEndToEnd, StartUpWithARememberedVideoPlaysItInAHostWindowAndClosingClosesThePlayer)
{
    PlayerRun run({"recording_component", nullptr, video});
    ASSERT_TRUE(run.ready());

    EXPECT_EQ(run.waitForCalls(6), startCalls(video));

    const std::vector<HWND> hosts = run.hostWindows();
    ASSERT_EQ(hosts.size(), 1u);
    HWND host = hosts[0];
    EXPECT_EQ(kvtest::parent(host), run.playerWindow());
    EXPECT_EQ(GetDlgCtrlID(host), 501);
    const RECT area = kvtest::rectInParent(host);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right - area.left, kvtest::screenWidth());
    EXPECT_EQ(area.bottom - area.top, kvtest::screenHeight());

    const std::string activation = "Activated(" + std::to_string(reinterpret_cast<UINT_PTR>(host)) + ",0,0," +
                                   std::to_string(kvtest::screenWidth()) + "," +
                                   std::to_string(kvtest::screenHeight()) + ")";
    const Calls all = run.calls(false);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), activation);

    EXPECT_EQ(closeAndWait(run), 0u);
    const Calls calls = run.calls();
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls.back(), "Close()");
}

TEST(PlayerEndToEnd, SecondApplySwitchesTheSamePlayerToTheNewFile)
{
    PlayerRun run({"recording_component", nullptr, video});
    ASSERT_TRUE(run.ready());
    ASSERT_EQ(run.waitForCalls(6).size(), 6u);

    run.apply(otherVideo);

    Calls expected = startCalls(video);
    expected.push_back("Open(" + quoted(otherVideo) + ")");
    expected.push_back("Play()");
    EXPECT_EQ(run.waitForCalls(8), expected);
    EXPECT_EQ(run.hostWindows().size(), 1u);
    EXPECT_NE(run.settingsFile().find(otherVideo), std::string::npos);

    EXPECT_EQ(closeAndWait(run), 0u);
}

TEST(PlayerEndToEnd, StartUpWithARememberedFolderThatExistsOpensTheFolder)
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "kv-videos-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    {
        PlayerRun run({"recording_component", nullptr, folder});
        ASSERT_TRUE(run.ready());
        EXPECT_EQ(run.waitForCalls(6), startCalls(folder));
        EXPECT_EQ(kvtest::text(run.edit), folder);
        EXPECT_EQ(closeAndWait(run), 0u);
    }
    RemoveDirectoryA(folder.c_str());
}

// The control hears of the battery choice once kv.ini holds it, at each choice and at no other
// (the hardware decoding choice waits for the next open).
TEST(PlayerEndToEnd, ChoosingPauseOnBatteryMakesTheControlReadItAgainAtOnce)
{
    PlayerRun run({"recording_component", nullptr, video});
    ASSERT_TRUE(run.ready());
    ASSERT_EQ(run.waitForCalls(6), startCalls(video));
    constexpr WPARAM hardwareDecoding = 0x00A0, pauseOnBattery = 0x00B0;  // the items' system commands

    for (WPARAM command : {pauseOnBattery, pauseOnBattery, hardwareDecoding, pauseOnBattery})
        PostMessageA(run.settings, WM_SYSCOMMAND, command, 0);

    Calls expected = startCalls(video);
    expected.insert(expected.end(), {"PowerStatusChange(1)", "PowerStatusChange()", "PowerStatusChange(1)"});
    EXPECT_EQ(run.waitForCalls(9), expected);
    EXPECT_EQ(closeAndWait(run), 0u);
}

struct NoPlayerCase {
    const char* name;
    PlayerRunSetup setup;
};

class NoPlayer : public ::testing::TestWithParam<NoPlayerCase> {};

// Without an instance the run goes on silently: no host, no message box, the settings
// file still written, an orderly end.
TEST_P(NoPlayer, RunsSilentlyWithoutHost)
{
    PlayerRun run(GetParam().setup);
    ASSERT_TRUE(run.ready());

    run.apply(video);

    ASSERT_NE(run.playerWindow(), nullptr);
    EXPECT_TRUE(run.hostWindows().empty());
    EXPECT_TRUE(run.calls(false).empty());
    EXPECT_TRUE(kvtest::topLevelWindows(run.kv->id(), "#32770").empty());
    EXPECT_NE(run.settingsFile().find(video), std::string::npos);
    EXPECT_EQ(closeAndWait(run), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Components, NoPlayer,
    ::testing::Values(NoPlayerCase{"Missing", {nullptr, nullptr, ""}},
                      NoPlayerCase{"NoExport", {"recording_component_no_export", nullptr, ""}},
                      NoPlayerCase{"FailingClassObject", {"recording_component", "class-object-fails", ""}},
                      NoPlayerCase{"FailingInstance", {"recording_component", "instance-fails", ""}}),
    [](const ::testing::TestParamInfo<NoPlayerCase>& info) { return std::string(info.param.name); });
