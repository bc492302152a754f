// The wallpaper after the desktop shell restarts: the shell destroys Progman with the player
// window in it, comes back with a fresh desktop and broadcasts "TaskbarCreated"; kv.exe, with
// the recording component, embeds a new player window there and plays the applied file again.
#include "tests/e2e/player/player_run.h"
#include "desktop_layouts.h"
#include "window_tree.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
using Calls = std::vector<std::string>;

const std::string video = "C:\\videos\\sea.mp4";
const std::string otherVideo = "C:\\videos\\河流.MP4";
constexpr DWORD comeBackAfterMs = 300;

Calls replayCalls(const std::string& path)
{
    return {"SetConfig(8,1)", "SetConfig(119,1)", "Open(\"" + path + "\")", "Play()"};
}

// The tree of the first embedding, on whichever desktop the shell stands now.
void expectEmbedded(const PlayerRun& run, bool layout24H2)
{
    HWND progman = run.shell.window(fake_shell::progman);
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(kvtest::parent(player), progman);
    EXPECT_TRUE(kvtest::coversScreen(player));
    EXPECT_TRUE(kvtest::visible(player));
    EXPECT_EQ(run.shell.spawnRequests(), 1);
    if (layout24H2) {
        const std::vector<HWND> expected{run.shell.window(fake_shell::iconView), player,
                                         run.shell.window(fake_shell::childWorker)};
        EXPECT_EQ(childWindows(progman), expected);
    } else {
        EXPECT_EQ(childWindows(progman), std::vector<HWND>{player});
        EXPECT_TRUE(run.shell.wallpaperLayerBecomesHidden());
        EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::iconOwner)));
        EXPECT_EQ(kvtest::parent(run.shell.window(fake_shell::iconView)), run.shell.window(fake_shell::iconOwner));
    }
    const std::vector<HWND> hosts = run.hostWindows();
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(kvtest::parent(hosts[0]), player);
}

// Restarts the shell and waits until the player window is embedded in the new desktop and the
// component has been told to play again; prints how long that took after the broadcast.
HWND restartAndWaitForTheWallpaper(PlayerRun& run, size_t callsBefore)
{
    HWND old = run.playerWindow();
    const int desktops = run.shell.desktops();
    run.shell.restart(comeBackAfterMs);
    if (!kvtest::waitUntil([&] { return run.shell.desktops() == desktops + 1; }))
        return nullptr;
    HWND player = nullptr;
    kvtest::waitUntil([&] {
        player = run.playerWindow();
        // Shown last, once the embedding is done.
        return player && player != old && kvtest::visible(player) &&
               kvtest::parent(player) == run.shell.window(fake_shell::progman) && run.calls().size() >= callsBefore + 4;
    });
    const DWORD elapsed = GetTickCount() - run.shell.broadcastTick();
    std::printf("from the broadcast to the video embedded again: %lu ms\n", elapsed);
    return player;
}

class ShellRestart : public testing::TestWithParam<DesktopLayout> {};
}  // namespace

TEST_P(ShellRestart, TheWallpaperComesBackTwiceInANewHostAndClosingEndsWithZero)
{
    const bool layout24H2 = GetParam().layout24H2;
    PlayerRun run({"recording_component", nullptr, video, GetParam().shellOptions});
    ASSERT_TRUE(run.ready());
    ASSERT_EQ(run.waitForCalls(6).size(), 6u);
    ASSERT_NO_FATAL_FAILURE(expectEmbedded(run, layout24H2));

    Calls expected = run.calls();
    for (int restart = 1; restart <= 2; ++restart) {
        SCOPED_TRACE("restart " + std::to_string(restart));
        // The first player window closes the player as it goes, then the new one plays again.
        expected.push_back("Close()");
        const Calls replay = replayCalls(video);
        expected.insert(expected.end(), replay.begin(), replay.end());
        HWND player = restartAndWaitForTheWallpaper(run, expected.size() - 4);
        ASSERT_NE(player, nullptr);
        ASSERT_NO_FATAL_FAILURE(expectEmbedded(run, layout24H2));
        EXPECT_EQ(run.calls(), expected);
        // The same instance in a new host, with the next control identifier.
        EXPECT_EQ(GetDlgCtrlID(run.hostWindows()[0]), 501 + restart);
    }

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv->waitForExit(), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(Layouts, ShellRestart, testing::ValuesIn(desktopLayouts), desktopLayoutName);

TEST(ShellRestart, AfterASecondApplyTheSecondFileComesBack)
{
    PlayerRun run({"recording_component", nullptr, video});
    ASSERT_TRUE(run.ready());
    ASSERT_EQ(run.waitForCalls(6).size(), 6u);
    run.apply(otherVideo);
    ASSERT_EQ(run.waitForCalls(8).size(), 8u);
    // Typed but not applied: not what comes back.
    kvtest::setText(run.edit, "C:\\videos\\not-applied.mp4");

    ASSERT_NE(restartAndWaitForTheWallpaper(run, 9), nullptr);
    const Calls calls = run.calls();
    ASSERT_EQ(calls.size(), 13u);
    EXPECT_EQ(Calls(calls.begin() + 9, calls.end()), replayCalls(otherVideo));

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv->waitForExit(), std::optional<DWORD>(0));
}

TEST(ShellRestart, TaskbarCreatedWhileThePlayerWindowLivesChangesNothing)
{
    PlayerRun run({"recording_component", nullptr, video});
    ASSERT_TRUE(run.ready());
    ASSERT_EQ(run.waitForCalls(6).size(), 6u);
    HWND player = run.playerWindow();

    // Sent, not posted: by the time it returns the settings window has handled it.
    DWORD_PTR ignored = 0;
    ASSERT_NE(
        SendMessageTimeoutA(run.settings, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_NORMAL, 5000, &ignored),
        0);
    EXPECT_EQ(run.playerWindow(), player);
    EXPECT_EQ(run.hostWindows().size(), 1u);
    EXPECT_EQ(run.calls().size(), 6u);
    EXPECT_EQ(run.shell.spawnRequests(), 1);
}
