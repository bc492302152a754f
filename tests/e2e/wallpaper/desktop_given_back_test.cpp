// The desktop as it was whenever the video ends: Esc in the player window, or kv closed; and a
// video ended with Esc comes back with "应用", embedded again.
#include "desktop_layouts.h"
#include "wallpaper_run.h"
#include "window_tree.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// The shell's windows as they stand without kv: nothing of kv's in Progman, and the wallpaper
// layer that 0x052C made shown.
bool desktopAsItWas(const WallpaperRun& run, const DesktopLayout& layout)
{
    HWND progman = run.shell.window(fake_shell::progman);
    if (FindWindowExA(progman, nullptr, "pmrq", "pmrq"))
        return false;
    if (!layout.layout24H2)
        return kvtest::visible(run.shell.window(fake_shell::wallpaperLayer));
    HWND worker = run.shell.window(fake_shell::childWorker);
    return childWindows(progman) == std::vector<HWND>{run.shell.window(fake_shell::iconView), worker} &&
           kvtest::visible(worker);
}

bool videoBehindTheIcons(const WallpaperRun& run, const DesktopLayout& layout)
{
    HWND player = run.playerWindow();
    if (!player || kvtest::parent(player) != run.shell.window(fake_shell::progman) || !kvtest::visible(player))
        return false;
    return layout.layout24H2 || kvtest::hidden(run.shell.window(fake_shell::wallpaperLayer));
}

class DesktopGivenBack : public testing::TestWithParam<DesktopLayout> {};
}  // namespace

TEST_P(DesktopGivenBack, AfterEscAfterApplyingAgainAndAfterClosing)
{
    const DesktopLayout& layout = GetParam();
    WallpaperRun run(layout.shellOptions);
    ASSERT_TRUE(run.ready());
    run.apply();
    ASSERT_TRUE(kvtest::waitUntil([&] { return videoBehindTheIcons(run, layout); }));

    HWND player = run.playerWindow();
    ASSERT_TRUE(kvtest::pressKey(player, VK_ESCAPE));
    EXPECT_TRUE(kvtest::waitUntil([&] { return !IsWindow(player) && desktopAsItWas(run, layout); })) << "after Esc";

    run.apply("C:\\videos\\lake.mp4");
    EXPECT_TRUE(kvtest::waitUntil([&] { return videoBehindTheIcons(run, layout); })) << "after applying again";
    EXPECT_NE(run.playerWindow(), player);
    EXPECT_EQ(run.shell.spawnRequests(), 2);
    EXPECT_EQ(run.directory.readFile("kv.ini"),
              std::optional<std::string>("[文件名]\r\n文件名=C:\\videos\\lake.mp4\r\n"));

    kvtest::close(run.settings);
    EXPECT_EQ(run.kv.waitForExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(desktopAsItWas(run, layout)) << "after closing";
}

INSTANTIATE_TEST_SUITE_P(Wallpaper, DesktopGivenBack, testing::ValuesIn(desktopLayouts), desktopLayoutName);
