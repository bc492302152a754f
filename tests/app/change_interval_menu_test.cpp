// The system menu's "换片间隔" submenu as a user sees it: its items, the one with the radio mark
// as read from the settings file at start, and the mark following a choice. Read in-process:
// Wine hands out no other process's system menu (the end-to-end test checks the settings file).
#include "tests/app/in_process_settings_window.h"
#include "tests/driver/kv_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// The submenu's item texts, and the text of the item with the radio mark.
struct Submenu {
    std::vector<std::string> labels;
    std::string marked;
};

Submenu changeIntervalMenu(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    Submenu seen;
    char label[64] = {};
    for (int position = 0; position < GetMenuItemCount(menu); ++position)
        if (GetMenuStringA(menu, position, label, sizeof label, MF_BYPOSITION) && std::string(label) == "换片间隔")
            menu = GetSubMenu(menu, position);
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        GetMenuStringA(menu, position, label, sizeof label, MF_BYPOSITION);
        seen.labels.push_back(label);
        const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
        if ((state & MFT_RADIOCHECK) && (state & MF_CHECKED))
            seen.marked += label;
    }
    return seen;
}

struct Case {
    const char* stored;  // the settings file's "换片间隔"; null: no settings file
    const char* marked;
};

class ChangeIntervalMenu : public testing::TestWithParam<Case> {};

TEST_P(ChangeIntervalMenu, ShowsTheItemsWithTheStoredChoiceMarkedAndTheMarkFollowsAChoice)
{
    kvtest::ProgramDirectory directory;
    if (GetParam().stored)
        directory.writeFile("kv.ini", std::string("[播放]\r\n换片间隔=") + GetParam().stored + "\r\n");
    InProcessSettingsWindow settings(directory.path());
    ASSERT_NE(settings.window, nullptr);

    const Submenu seen = changeIntervalMenu(settings.window);
    EXPECT_EQ(seen.labels, (std::vector<std::string>{"每段播完", "1 分钟", "5 分钟", "10 分钟", "30 分钟", "1 小时"}));
    EXPECT_EQ(seen.marked, GetParam().marked);

    SendMessageA(settings.window, WM_SYSCOMMAND, 0x0090, 0);  // "1 小时"
    EXPECT_EQ(changeIntervalMenu(settings.window).marked, "1 小时");
}

INSTANTIATE_TEST_SUITE_P(Stored, ChangeIntervalMenu,
                         testing::Values(Case{nullptr, "10 分钟"}, Case{"0", "每段播完"}, Case{"5", "5 分钟"},
                                         Case{"60", "1 小时"}, Case{"15", "10 分钟"}, Case{"x", "10 分钟"}));
}  // namespace
