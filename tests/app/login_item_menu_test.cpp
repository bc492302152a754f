// The "开机时自动运行" item as a user sees it in the settings window's system menu: its text,
// and its tick when the menu opens, chosen by its text. Read in-process: Wine hands out no
// other process's system menu, so the end-to-end tests (login_item_test) send the item's
// command and check the shortcut it makes.
#include "app/login_shortcut.h"
#include "app/settings_window.h"
#include "app/window_definitions.h"
#include "platform/process_state.h"
#include "platform/window_ids.h"
#include "platform/window_layer.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <optional>
#include <string>

namespace {
struct MenuItem {
    UINT command;
    bool ticked;
};

// The item of the window's system menu with this text, as the menu shows it.
std::optional<MenuItem> systemMenuItem(HWND window, const std::string& text)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char label[64] = {};
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID;
        item.dwTypeData = label;
        item.cch = sizeof label;
        if (GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item) && text == label)
            return MenuItem{item.wID, (item.fState & MFS_CHECKED) != 0};
    }
    return std::nullopt;
}

// Whether that item is ticked; none when the menu has no such item.
std::optional<bool> tickOf(HWND window, const std::string& text)
{
    const std::optional<MenuItem> item = systemMenuItem(window, text);
    return item ? std::optional<bool>(item->ticked) : std::nullopt;
}

// The system menu opening, as the system tells the window when the user clicks its icon.
void openSystemMenu(HWND window)
{
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSystemMenu(window, FALSE)), MAKELPARAM(0, TRUE));
}

class LoginItemMenu : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_TRUE(removeLoginShortcut());
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(sizeof temp, temp);
        processState = ProcessState{};
        processState.programDirectory = std::string(temp) + "kv-no-settings-here";  // no kv.ini: nothing applied
        ASSERT_TRUE(registerWindowDefinitions());
    }
    void TearDown() override
    {
        destroyProgramWindows();
        processState = ProcessState{};
        removeLoginShortcut();
        CoUninitialize();
    }
    static HWND loadSettingsWindow()
    {
        loadStartupWindow();
        return loadedWindow(layout::settingsWindow);
    }
    static const char* const itemText;
};
const char* const LoginItemMenu::itemText = "开机时自动运行";

TEST_F(LoginItemMenu, ChosenByItsTextTheItemTicksAndUnticksAsTheShortcutComesAndGoes)
{
    HWND window = loadSettingsWindow();
    ASSERT_NE(window, nullptr);
    openSystemMenu(window);
    std::optional<MenuItem> item = systemMenuItem(window, itemText);
    ASSERT_TRUE(item.has_value());
    EXPECT_FALSE(item->ticked);
    EXPECT_EQ(item->command, runAtLoginCommand);  // the command the end-to-end tests send

    SendMessageA(window, WM_SYSCOMMAND, item->command, 0);
    EXPECT_TRUE(loginShortcutStartsThisProgram());
    EXPECT_EQ(tickOf(window, itemText), std::optional<bool>(true));

    SendMessageA(window, WM_SYSCOMMAND, item->command, 0);
    EXPECT_FALSE(loginShortcutStartsThisProgram());
    EXPECT_EQ(tickOf(window, itemText), std::optional<bool>(false));
}

TEST_F(LoginItemMenu, AShortcutMadeWhileTheWindowIsOpenShowsTickedWhenTheMenuOpens)
{
    HWND window = loadSettingsWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(tickOf(window, itemText), std::optional<bool>(false));
    ASSERT_TRUE(createLoginShortcut());
    openSystemMenu(window);
    EXPECT_EQ(tickOf(window, itemText), std::optional<bool>(true));
    ASSERT_TRUE(removeLoginShortcut());
    openSystemMenu(window);
    EXPECT_EQ(tickOf(window, itemText), std::optional<bool>(false));
}

TEST_F(LoginItemMenu, AShortcutMadeBeforeTheWindowShowsTickedAtOnce)
{
    ASSERT_TRUE(createLoginShortcut());
    HWND window = loadSettingsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(tickOf(window, itemText), std::optional<bool>(true));
}
}  // namespace

TEST_F(LoginItemMenu, WhileWindowEventsAreBlockedChoosingTheItemIsAnsweredButMakesNoShortcut)
{
    HWND window = loadSettingsWindow();
    ASSERT_NE(window, nullptr);
    processState.eventBlock = 1;
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, runAtLoginCommand, 0), 0);
    EXPECT_FALSE(loginShortcutStartsThisProgram());
    // The tick is no event: it still follows the shortcut when the menu opens.
    ASSERT_TRUE(createLoginShortcut());
    openSystemMenu(window);
    EXPECT_EQ(tickOf(window, itemText), std::optional<bool>(true));
    processState.eventBlock = 0;
}
