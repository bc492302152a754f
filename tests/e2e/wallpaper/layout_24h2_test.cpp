// The player window behind the icons on the desktop of Windows 11 24H2 and later, where the
// icon view and the wallpaper layer are children of Progman.
#include "wallpaper_run.h"
#include "window_tree.h"

#include <gtest/gtest.h>

TEST(Embedding24H2, PlayerWindowIsLayeredDirectlyBeneathTheIconViewAndNothingIsHidden)
{
    WallpaperRun run("--layout-24h2");
    ASSERT_TRUE(run.ready());
    run.apply();

    HWND progman = run.shell.window(fake_shell::progman);
    HWND iconView = run.shell.window(fake_shell::iconView);
    HWND worker = run.shell.window(fake_shell::childWorker);
    HWND player = run.playerWindow();
    ASSERT_NE(player, nullptr);
    ASSERT_NE(worker, nullptr);
    const std::vector<HWND> expected{iconView, player, worker};
    EXPECT_EQ(childWindows(progman), expected);
    EXPECT_NE(kvtest::exStyle(player) & WS_EX_LAYERED, 0);
    const RECT rect = kvtest::windowRect(player);
    EXPECT_EQ(rect.right - rect.left, kvtest::screenWidth());
    EXPECT_EQ(rect.bottom - rect.top, kvtest::screenHeight());
    EXPECT_TRUE(kvtest::visible(player));
    EXPECT_TRUE(kvtest::visible(iconView));
    EXPECT_TRUE(kvtest::visible(worker));
    for (HWND window : topLevelWindows()) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "WorkerW")
            ADD_FAILURE() << "a top-level WorkerW appeared";
    }

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(0));
}
