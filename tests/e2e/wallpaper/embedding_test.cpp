// The player window behind the icons of the classic desktop (Windows 10, Windows 11 before
// 24H2), its edge cases, and its life with the settings window.
#include "wallpaper_run.h"
#include "window_tree.h"

#include <gtest/gtest.h>

namespace {
constexpr DWORD fatalExit = 0xFFFFFFFF;

bool coversScreen(HWND window)
{
    const RECT rect = kvtest::windowRect(window);
    return rect.left == 0 && rect.top == 0 && rect.right == kvtest::screenWidth() &&
           rect.bottom == kvtest::screenHeight();
}
}  // namespace

TEST(Embedding, PlayerWindowBecomesChildOfProgmanAndWallpaperLayerIsHidden)
{
    WallpaperRun run;
    ASSERT_TRUE(run.shell.ready());
    ASSERT_TRUE(run.ready());
    run.apply();

    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(kvtest::parent(player), run.shell.window(fake_shell::progman));
    EXPECT_TRUE(coversScreen(player));
    EXPECT_TRUE(kvtest::visible(player));
    EXPECT_EQ(kvtest::exStyle(player) & WS_EX_LAYERED, 0);
    EXPECT_EQ(run.shell.spawnRequests(), 1);
    EXPECT_FALSE(kvtest::visible(run.shell.window(fake_shell::wallpaperLayer)));
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::iconOwner)));
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::iconView)));
}

TEST(Embedding, OnlyTheFirstIconViewOwnerInZOrderIsUsed)
{
    WallpaperRun run("--two-owners");
    ASSERT_TRUE(run.ready());
    run.apply();

    EXPECT_EQ(kvtest::parent(run.playerWindow()), run.shell.window(fake_shell::progman));
    EXPECT_FALSE(kvtest::visible(run.shell.window(fake_shell::wallpaperLayer)));
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::secondWallpaperLayer)));
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::secondOwner)));
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::iconOwner)));
}

TEST(Embedding, TitledIconViewIsNotFoundAndNothingIsHidden)
{
    WallpaperRun run("--titled-icon-view");
    ASSERT_TRUE(run.ready());
    run.apply();

    EXPECT_EQ(kvtest::parent(run.playerWindow()), run.shell.window(fake_shell::progman));
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::wallpaperLayer)));
    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::iconOwner)));
}

TEST(Embedding, WorkerWBeforeTheOwnerIsNeverHidden)
{
    WallpaperRun run("--worker-before-owner");
    ASSERT_TRUE(run.ready());
    run.apply();

    EXPECT_TRUE(kvtest::visible(run.shell.window(fake_shell::workerBeforeOwner)));
    EXPECT_FALSE(kvtest::visible(run.shell.window(fake_shell::wallpaperLayer)));
}

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

TEST(Embedding, ClosingTheSettingsWindowDestroysThePlayerWindowAfterItAndExitsWithZero)
{
    WallpaperRun run;
    ASSERT_TRUE(run.ready());
    run.apply();
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);

    kvtest::close(run.settings);
    // The player window was still there when the settings window went: no fatal box, exit 0.
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(0));
    EXPECT_FALSE(IsWindow(player));
    EXPECT_FALSE(IsWindow(run.settings));
}

TEST(Embedding, EscOnThePlayerWindowDestroysItAndALaterApplyLoadsNoNewOne)
{
    WallpaperRun run;
    ASSERT_TRUE(run.ready());
    run.apply();
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);

    ASSERT_TRUE(kvtest::pressKey(player, VK_ESCAPE));
    ASSERT_TRUE(kvtest::waitUntil([&] { return !IsWindow(player); }));
    EXPECT_TRUE(kvtest::visible(run.settings));

    run.apply();
    EXPECT_EQ(run.playerWindow(), nullptr);
    EXPECT_EQ(run.shell.spawnRequests(), 1);

    // The settings window now asks a window that is gone to go.
    kvtest::close(run.settings);
    std::optional<std::string> box = run.acknowledgeFatalBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_NE(box->find("指定窗口或窗口组件不存在或尚未载入"), std::string::npos) << *box;
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(fatalExit));
}

TEST(Embedding, WithoutProgmanThePlayerStaysTopLevelAndClosingIsFatal)
{
    WallpaperRun run("--no-progman");
    ASSERT_TRUE(run.ready());
    run.apply();

    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(kvtest::parent(player), GetDesktopWindow());
    EXPECT_TRUE(coversScreen(player));
    EXPECT_TRUE(kvtest::visible(player));

    kvtest::close(run.settings);
    std::optional<std::string> box = run.acknowledgeFatalBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_NE(box->find("指定窗口或窗口组件不存在或尚未载入"), std::string::npos) << *box;
    EXPECT_NE(box->find(playerWindowGoneLines), std::string::npos) << *box;
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(fatalExit));
}

TEST(Embedding, AfterAShellRestartClosingIsFatal)
{
    WallpaperRun run;
    ASSERT_TRUE(run.ready());
    run.apply();
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);

    run.shell.restart();
    ASSERT_TRUE(kvtest::waitUntil([&] { return !IsWindow(player); }));

    kvtest::close(run.settings);
    std::optional<std::string> box = run.acknowledgeFatalBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_NE(box->find("指定窗口或窗口组件不存在或尚未载入"), std::string::npos) << *box;
    EXPECT_NE(box->find(playerWindowGoneLines), std::string::npos) << *box;
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(fatalExit));
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
    EXPECT_FALSE(kvtest::visible(run.shell.window(fake_shell::wallpaperLayer)));
    EXPECT_EQ(kvtest::text(run.edit), "C:\\videos\\sea.mp4");
}
