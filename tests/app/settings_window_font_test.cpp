// The font of the settings window's controls, checked in-process: Wine answers WM_GETFONT
// from another process with null, so the end-to-end tests cannot see it.
#include "app/settings_window.h"
#include "app/window_definitions.h"
#include "platform/process_state.h"
#include "platform/window_ids.h"
#include "platform/window_layer.h"

#include <gtest/gtest.h>

namespace {
TEST(SettingsWindowFont, EveryControlHasTheStockGuiFont)
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    processState = ProcessState{};
    processState.programDirectory = std::string(temp) + "kv-no-settings-here";  // no kv.ini: nothing applied
    ASSERT_TRUE(registerWindowDefinitions());
    loadStartupWindow();
    HWND window = loadedWindow(layout::settingsWindow);
    ASSERT_NE(window, nullptr);

    const auto guiFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    int controls = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++controls)
        EXPECT_EQ(SendMessageA(child, WM_GETFONT, 0, 0), guiFont);
    EXPECT_EQ(controls, 3);

    destroyProgramWindows();
    processState = ProcessState{};
}
}  // namespace
