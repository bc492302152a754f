// The system menu's "硬件解码" and "使用电池时暂停" items as a user sees them: where they sit,
// their ticks as read from the settings file at start, and the settings file's bytes after
// each choice. Read in-process: Wine hands out no other process's system menu.
#include "tests/app/in_process_settings_window.h"
#include "tests/driver/kv_driver.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {
// Not played at start (no .mp4): the run opens no player window.
const std::string fileSection = "[文件名]\r\n文件名=C:\\videos\\sea.avi\r\n";

struct MenuItem {
    std::string label;
    bool ticked;
    UINT command;
};

std::vector<MenuItem> systemMenu(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    std::vector<MenuItem> items;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char label[64] = {};
        GetMenuStringA(menu, position, label, sizeof label, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
        items.push_back({label, (state & MF_CHECKED) != 0, GetMenuItemID(menu, position)});
    }
    return items;
}

MenuItem itemOf(HWND window, const std::string& label)
{
    for (const MenuItem& item : systemMenu(window))
        if (item.label == label)
            return item;
    return {};
}

TEST(PlayChoiceMenu, BothFollowAllMonitorsAndWithoutSettingsFileOnlyHardwareDecodingIsTicked)
{
    InProcessSettingsWindow settings;
    ASSERT_NE(settings.window, nullptr);
    std::vector<std::string> seen;  // from "在所有显示器上播放" on, a tick shown as "√"
    for (const MenuItem& item : systemMenu(settings.window))
        if (!seen.empty() || item.label == "在所有显示器上播放")
            seen.push_back((item.ticked ? "√" : "") + item.label);
    EXPECT_EQ(seen, (std::vector<std::string>{"在所有显示器上播放", "√硬件解码", "使用电池时暂停", "换片间隔",
                                              "选择文件夹…"}));
}

struct Case {
    const char* item;         // chosen twice by its text
    const char* stored;       // the settings file's "[播放]" section at start, after the file section
    bool ticked;              // the item's tick at start
    const char* chosenOnce;   // the "[播放]" section after one choice
    const char* chosenTwice;  // and after a second
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.item << " with " << c.stored; }

class PlayChoiceMenu : public testing::TestWithParam<Case> {};

TEST_P(PlayChoiceMenu, TheTickReadAtStartFlipsWithEachChoiceAndTheSettingsFileFollows)
{
    const Case& c = GetParam();
    kvtest::ProgramDirectory directory;
    directory.writeFile("kv.ini", fileSection + c.stored);
    InProcessSettingsWindow settings(directory.path());
    ASSERT_NE(settings.window, nullptr);
    const MenuItem item = itemOf(settings.window, c.item);
    ASSERT_NE(item.command, 0u);
    EXPECT_EQ(item.ticked, c.ticked);

    SendMessageA(settings.window, WM_SYSCOMMAND, item.command, 0);
    EXPECT_EQ(itemOf(settings.window, c.item).ticked, !c.ticked);
    EXPECT_EQ(directory.readFile("kv.ini"), fileSection + c.chosenOnce);

    SendMessageA(settings.window, WM_SYSCOMMAND, item.command, 0);
    EXPECT_EQ(itemOf(settings.window, c.item).ticked, c.ticked);
    EXPECT_EQ(directory.readFile("kv.ini"), fileSection + c.chosenTwice);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, PlayChoiceMenu,
    testing::Values(Case{"硬件解码", "", true, "[播放]\r\n硬件解码=0\r\n", ""},
                    Case{"硬件解码", "[播放]\r\n硬件解码=0\r\n", false, "", "[播放]\r\n硬件解码=0\r\n"},
                    Case{"硬件解码", "[播放]\r\n硬件解码=1\r\n", true, "[播放]\r\n硬件解码=0\r\n", ""},
                    Case{"使用电池时暂停", "", false, "[播放]\r\n电池暂停=1\r\n", ""},
                    Case{"使用电池时暂停", "[播放]\r\n电池暂停=1\r\n", true, "", "[播放]\r\n电池暂停=1\r\n"},
                    Case{"使用电池时暂停", "[播放]\r\n换片间隔=1\r\n电池暂停=0\r\n", false,
                         "[播放]\r\n换片间隔=1\r\n电池暂停=1\r\n", "[播放]\r\n换片间隔=1\r\n"}));
}  // namespace
