// The system menu's "硬件解码" and "使用电池时暂停" items as a user sees them: right after
// "在所有显示器上播放", their ticks after each choice and at the next start, and the settings
// file's bytes after each choice. Read in-process: Wine hands out no other process's system menu.
#include "tests/app/in_process_settings_window.h"
#include "tests/driver/kv_driver.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {
using Shown = std::vector<std::string>;

const std::string fileSection = "[文件名]\r\n文件名=C:\\videos\\sea.avi\r\n";  // not played at start

// The two items after "在所有显示器上播放" as the system menu shows them, "√" before a ticked one.
Shown itemsAfterAllMonitors(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    Shown seen;
    bool after = false;
    for (int position = 0; position < GetMenuItemCount(menu) && seen.size() < 2; ++position) {
        char label[64] = {};
        GetMenuStringA(menu, position, label, sizeof label, MF_BYPOSITION);
        if (after)
            seen.push_back(((GetMenuState(menu, position, MF_BYPOSITION) & MF_CHECKED) ? "√" : "") +
                           std::string(label));
        after = after || std::string(label) == "在所有显示器上播放";
    }
    return seen;
}

TEST(PlayChoiceMenu, EachChoiceFlipsItsTickKeptInTheSettingsFileOnlyWhileUnusualAndReadAtTheNextStart)
{
    kvtest::ProgramDirectory directory;
    directory.writeFile("kv.ini", fileSection);
    std::optional<InProcessSettingsWindow> settings(std::in_place, directory.path());
    ASSERT_NE(settings->window, nullptr);
    EXPECT_EQ(itemsAfterAllMonitors(settings->window), (Shown{"√硬件解码", "使用电池时暂停"}));
    constexpr UINT restart = 0;  // kv starts again on the same settings file
    struct Step {
        UINT command;
        Shown shown;
        const char* play;  // the "[播放]" section then
    } const steps[] = {
        {hardwareDecodingCommand, {"硬件解码", "使用电池时暂停"}, "[播放]\r\n硬件解码=0\r\n"},
        {pauseOnBatteryCommand, {"硬件解码", "√使用电池时暂停"}, "[播放]\r\n硬件解码=0\r\n电池暂停=1\r\n"},
        {restart, {"硬件解码", "√使用电池时暂停"}, "[播放]\r\n硬件解码=0\r\n电池暂停=1\r\n"},
        {hardwareDecodingCommand, {"√硬件解码", "√使用电池时暂停"}, "[播放]\r\n电池暂停=1\r\n"},
        {pauseOnBatteryCommand, {"√硬件解码", "使用电池时暂停"}, ""},  // the file as it was
    };
    for (const Step& step : steps) {
        if (step.command == restart)
            settings.emplace(directory.path());
        else
            SendMessageA(settings->window, WM_SYSCOMMAND, step.command, 0);
        EXPECT_EQ(itemsAfterAllMonitors(settings->window), step.shown);
        EXPECT_EQ(directory.readFile("kv.ini"), fileSection + step.play);
    }
}
}  // namespace
