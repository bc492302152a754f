// The settings window's font and icons, checked in-process: Wine answers WM_GETFONT and
// WM_GETICON from another process with null, so the end-to-end tests cannot see them.
#include "app/settings_window.h"
#include "app/window_definitions.h"
#include "platform/process_state.h"
#include "platform/window_ids.h"
#include "platform/window_layer.h"

#include <gtest/gtest.h>

namespace {
int iconWidth(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

TEST(SettingsWindowInProcess, ControlsHaveTheStockGuiFontAndTheWindowTheApplicationIcon)
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

    // The title bar's small image and the taskbar's large one, from the window and its class.
    const auto smallIcon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    const auto bigIcon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(iconWidth(smallIcon), GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(iconWidth(bigIcon), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(iconWidth(reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM))),
              GetSystemMetrics(SM_CXSMICON));

    destroyProgramWindows();
    processState = ProcessState{};
}
}  // namespace
