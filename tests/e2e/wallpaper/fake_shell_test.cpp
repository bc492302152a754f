// The simulated desktop shell builds the trees that the embedding is tested against.
#include "fake_shell_session.h"
#include "window_tree.h"

#include <gtest/gtest.h>

namespace {
void requestWallpaperLayer(const FakeShellSession& shell)
{
    SendMessageA(shell.window(fake_shell::progman), fake_shell::spawnWorkerMessage, 0, 0);
}

char classOf(HWND window, char* buffer)
{
    GetClassNameA(window, buffer, 64);
    return buffer[0];
}
}  // namespace

TEST(FakeShell, ClassicLayoutPutsIconOwnerAboveWallpaperLayerAboveProgman)
{
    FakeShellSession shell;
    ASSERT_TRUE(shell.ready());
    HWND progman = FindWindowA("Progman", "Program Manager");
    ASSERT_EQ(progman, shell.window(fake_shell::progman));
    EXPECT_EQ(FindWindowExA(progman, nullptr, "SHELLDLL_DefView", ""), shell.window(fake_shell::iconView));
    EXPECT_EQ(FindWindowExA(shell.window(fake_shell::iconOwner), nullptr, "SHELLDLL_DefView", nullptr), nullptr);

    requestWallpaperLayer(shell);
    requestWallpaperLayer(shell);
    EXPECT_EQ(shell.spawnRequests(), 2);

    HWND owner = shell.window(fake_shell::iconOwner);
    HWND layer = shell.window(fake_shell::wallpaperLayer);
    char name[64];
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(classOf(owner, name), 'W');
    EXPECT_EQ(FindWindowExA(owner, nullptr, "SHELLDLL_DefView", ""), shell.window(fake_shell::iconView));
    EXPECT_EQ(FindWindowExA(progman, nullptr, "SHELLDLL_DefView", ""), nullptr);
    EXPECT_EQ(FindWindowExA(nullptr, owner, "WorkerW", ""), layer);
    std::vector<HWND> order = topLevelWindows();
    EXPECT_LT(indexOf(order, owner), indexOf(order, layer));
    EXPECT_LT(indexOf(order, layer), indexOf(order, progman));
    EXPECT_TRUE(IsWindowVisible(owner));
    EXPECT_TRUE(IsWindowVisible(layer));
}

TEST(FakeShell, TwoOwnersStackFirstOwnerAndLayerAboveSecond)
{
    FakeShellSession shell("--two-owners");
    ASSERT_TRUE(shell.ready());
    requestWallpaperLayer(shell);
    std::vector<HWND> order = topLevelWindows();
    HWND second = shell.window(fake_shell::secondOwner);
    ASSERT_NE(FindWindowExA(second, nullptr, "SHELLDLL_DefView", ""), nullptr);
    EXPECT_LT(indexOf(order, shell.window(fake_shell::iconOwner)), indexOf(order, shell.window(fake_shell::wallpaperLayer)));
    EXPECT_LT(indexOf(order, shell.window(fake_shell::wallpaperLayer)), indexOf(order, second));
    EXPECT_EQ(FindWindowExA(nullptr, second, "WorkerW", ""), shell.window(fake_shell::secondWallpaperLayer));
}

TEST(FakeShell, WorkerBeforeOwnerLiesAboveIt)
{
    FakeShellSession shell("--worker-before-owner");
    ASSERT_TRUE(shell.ready());
    requestWallpaperLayer(shell);
    std::vector<HWND> order = topLevelWindows();
    HWND decoy = shell.window(fake_shell::workerBeforeOwner);
    ASSERT_NE(decoy, nullptr);
    EXPECT_LT(indexOf(order, decoy), indexOf(order, shell.window(fake_shell::iconOwner)));
}

TEST(FakeShell, TitledIconViewIsNotFoundByEmptyTitle)
{
    FakeShellSession shell("--titled-icon-view");
    ASSERT_TRUE(shell.ready());
    requestWallpaperLayer(shell);
    EXPECT_EQ(FindWindowExA(shell.window(fake_shell::iconOwner), nullptr, "SHELLDLL_DefView", ""), nullptr);
    EXPECT_EQ(FindWindowExA(shell.window(fake_shell::iconOwner), nullptr, "SHELLDLL_DefView", "FolderView"),
              shell.window(fake_shell::iconView));
}

TEST(FakeShell, NoProgmanMeansNoDesktopProgramWindow)
{
    FakeShellSession shell("--no-progman");
    ASSERT_TRUE(shell.ready());
    EXPECT_EQ(FindWindowA("Progman", "Program Manager"), nullptr);
}

TEST(FakeShell, Layout24H2KeepsIconViewAndWorkerInsideProgman)
{
    FakeShellSession shell("--layout-24h2");
    ASSERT_TRUE(shell.ready());
    HWND progman = shell.window(fake_shell::progman);
    HWND view = shell.window(fake_shell::iconView);
    EXPECT_NE(GetWindowLongA(view, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    requestWallpaperLayer(shell);
    HWND worker = shell.window(fake_shell::childWorker);
    ASSERT_NE(worker, nullptr);
    std::vector<HWND> children = childWindows(progman);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0], view);
    EXPECT_EQ(children[1], worker);
    EXPECT_EQ(shell.window(fake_shell::iconOwner), nullptr);
}

TEST(FakeShell, RestartDestroysProgman)
{
    FakeShellSession shell;
    ASSERT_TRUE(shell.ready());
    requestWallpaperLayer(shell);
    HWND progman = shell.window(fake_shell::progman);
    shell.restart();
    EXPECT_FALSE(IsWindow(progman));
    EXPECT_EQ(FindWindowA("Progman", "Program Manager"), nullptr);
}
