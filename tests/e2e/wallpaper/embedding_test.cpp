// The player window behind the icons of the classic desktop (Windows 10, Windows 11 before
// 24H2), its edge cases, and its life with the settings window.
#include "wallpaper_run.h"
#include "window_tree.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {
// Closing the settings window with the player window gone already ends the run quietly.
void expectClosingEndsWithZero(WallpaperRun& run)
{
    kvtest::close(run.settings);
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(0));
}
}  // namespace

TEST(Embedding, PlayerWindowBecomesChildOfProgmanWallpaperLayerIsHiddenAndClosingTheSettingsWindowEndsWithZero)
{
    WallpaperRun run;
    ASSERT_TRUE(run.shell.ready());
    ASSERT_TRUE(run.ready());
    run.apply();

    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(kvtest::parent(player), run.shell.window(fake_shell::progman));
    EXPECT_TRUE(kvtest::coversScreen(player));
    EXPECT_TRUE(kvtest::visible(player));
    EXPECT_EQ(kvtest::exStyle(player) & WS_EX_LAYERED, 0);
    EXPECT_EQ(run.shell.spawnRequests(), 1);
    EXPECT_TRUE(run.shell.wallpaperLayerBecomesHidden());
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::iconOwner)));
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::iconView)));

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(0));
    EXPECT_FALSE(IsWindow(player));
    EXPECT_FALSE(IsWindow(run.settings));
    // The desktop has its own wallpaper back.
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::wallpaperLayer)));
}

namespace {
// Desktop trees with a trap: which of the shell's windows stay shown and which are hidden.
struct ShellCase {
    const char* name;
    const char* options;
    std::vector<std::pair<const char*, bool>> shown;
};

const ShellCase shellCases[] = {
    {"OnlyTheFirstIconViewOwnerInZOrderIsUsed",
     "--two-owners",
     {{fake_shell::wallpaperLayer, false},
      {fake_shell::secondWallpaperLayer, true},
      {fake_shell::secondOwner, true},
      {fake_shell::iconOwner, true}}},
    {"TitledIconViewIsNotFoundAndNothingIsHidden",
     "--titled-icon-view",
     {{fake_shell::wallpaperLayer, true}, {fake_shell::iconOwner, true}}},
    {"WorkerWBeforeTheOwnerIsNeverHidden",
     "--worker-before-owner",
     {{fake_shell::workerBeforeOwner, true}, {fake_shell::wallpaperLayer, false}}},
    // The shell answers 0x052C with the layer still in front of the owner and puts it behind
    // only afterwards: the program's first look finds no layer, its second one does.
    {"ALayerPlacedAfterTheAnswerIsHidden",
     "--arrange-late",
     {{fake_shell::wallpaperLayer, false}, {fake_shell::iconOwner, true}}},
    // The second owner's pair stands in front at the answer, so the first look hides the
    // second layer; once the shell has put its windows in order, that one is shown again.
    {"ALayerHiddenBehindTheWrongOwnerComesBack",
     "--two-owners --arrange-late",
     {{fake_shell::wallpaperLayer, false},
      {fake_shell::secondWallpaperLayer, true},
      {fake_shell::secondOwner, true},
      {fake_shell::iconOwner, true}}},
};

bool showsAsExpected(const WallpaperRun& run, const ShellCase& shellCase)
{
    for (const auto& [window, shown] : shellCase.shown) {
        if (kvtest::visible(run.shell.window(window)) != shown)
            return false;
    }
    return true;
}

class ShellEdgeCase : public testing::TestWithParam<ShellCase> {};
}  // namespace

TEST_P(ShellEdgeCase, PlayerWindowGoesIntoProgmanAndOnlyTheRightLayerIsHidden)
{
    WallpaperRun run(GetParam().options);
    ASSERT_TRUE(run.ready());
    run.apply();

    EXPECT_EQ(kvtest::parent(run.playerWindow()), run.shell.window(fake_shell::progman));
    // The shell may still be arranging its windows when the program looks; it looks again a
    // moment later.
    kvtest::waitUntil([&] { return showsAsExpected(run, GetParam()); });
    for (const auto& [window, shown] : GetParam().shown)
        EXPECT_TRUE(shown ? kvtest::visible(run.shell.window(window)) : kvtest::hidden(run.shell.window(window)))
            << window;
}

INSTANTIATE_TEST_SUITE_P(Embedding, ShellEdgeCase, testing::ValuesIn(shellCases),
                         [](const testing::TestParamInfo<ShellCase>& info) { return info.param.name; });

TEST(Embedding, SecondApplyMakesNoSecondWindowAndDoesNotEmbedAgain)
{
    WallpaperRun run;
    ASSERT_TRUE(run.ready());
    run.apply("C:\\videos\\sea.mp4");
    HWND first = run.playerWindow();
    ASSERT_NE(first, nullptr);

    run.apply("C:\\videos\\lake.mp4");
    EXPECT_EQ(run.playerWindow(), first);
    EXPECT_EQ(run.shell.spawnRequests(), 1);
    EXPECT_EQ(childWindows(run.shell.window(fake_shell::progman)).size(), 1u);
    EXPECT_EQ(kvtest::topLevelWindows(run.kv.id(), "pmrq").size(), 0u);
}

TEST(Embedding, WithoutProgmanThePlayerStaysTopLevelAndClosingEndsWithZero)
{
    WallpaperRun run("--no-progman");
    ASSERT_TRUE(run.ready());
    run.apply();

    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(kvtest::parent(player), GetDesktopWindow());
    EXPECT_TRUE(kvtest::coversScreen(player));
    EXPECT_TRUE(kvtest::visible(player));

    expectClosingEndsWithZero(run);
}

// Closed after the old desktop went and before the new one says "TaskbarCreated".
TEST(Embedding, ClosingBetweenAShellRestartAndItsReturnEndsWithZero)
{
    WallpaperRun run;
    ASSERT_TRUE(run.ready());
    run.apply();
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);

    run.shell.restart();
    ASSERT_TRUE(kvtest::waitUntil([&] { return !IsWindow(player); }));

    expectClosingEndsWithZero(run);
}

TEST(Embedding, RememberedVideoIsEmbeddedBeforeTheSettingsWindowShows)
{
    WallpaperRun run("", "C:\\videos\\sea.mp4");
    ASSERT_TRUE(run.ready());
    // The first sight of the settings window: the start-up apply has run completely already.
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(kvtest::parent(player), run.shell.window(fake_shell::progman));
    EXPECT_TRUE(kvtest::visible(player));
    EXPECT_EQ(run.shell.spawnRequests(), 1);
    EXPECT_TRUE(run.shell.wallpaperLayerBecomesHidden());
    EXPECT_EQ(kvtest::text(run.edit), "C:\\videos\\sea.mp4");
}
