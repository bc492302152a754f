// The settings window's font and icons, its layout when it moves to a monitor of another DPI,
// and a folder dropped on it, checked in-process (see in_process_settings_window.h).
#include "app/ansi_name.h"
#include "app/globals.h"
#include "tests/app/in_process_settings_window.h"
#include "tests/driver/kv_driver.h"
#include "tests/driver/gtest_helpers.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

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

class SettingsWindowInProcess : public testing::Test {
protected:
    void SetUp() override
    {
        window = settings.window;
        ASSERT_NE(window, nullptr);
    }

    InProcessSettingsWindow settings;
    HWND window = nullptr;
};

TEST_F(SettingsWindowInProcess, ControlsHaveTheStockGuiFontAndTheWindowTheApplicationIcon)
{
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
}

LOGFONTA fontOf(HWND window)
{
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// As Windows tells a window moved to a monitor of another DPI. Wine never does: it has one DPI.
void moveToDpi(HWND window, UINT dpi, const RECT& suggested)
{
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(SettingsWindowInProcess, OnAMonitorOfAnotherDpiTheWindowTakesTheSuggestedRectAndScalesControlsAndFont)
{
    const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA stockFont{};
    GetObjectA(stock, sizeof stockFont, &stockFont);
    const std::vector<HWND> controls = kvtest::children(window);
    ASSERT_EQ(controls.size(), 3u);
    HWND edit = controls[1];
    SetWindowTextA(edit, "C:\\videos\\sea.mp4");
    SetForegroundWindow(window);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 3, 9);
    ASSERT_EQ(GetFocus(), edit);

    // Twice the system DPI (96 in the suite's prefix): every length doubles.
    const UINT dpi = 2 * USER_DEFAULT_SCREEN_DPI;
    const RECT suggested{100, 50, 700, 370};
    moveToDpi(window, dpi, suggested);
    RECT outer{};
    GetWindowRect(window, &outer);
    kvtest::expectRect(outer, suggested);
    kvtest::expectRect(kvtest::rectInParent(controls[0]), {320, 144, 496, 208});
    kvtest::expectRect(kvtest::rectInParent(controls[1]), {64, 48, 512, 112});
    kvtest::expectRect(kvtest::rectInParent(controls[2]), {80, 144, 272, 208});
    const auto scaled = reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0));
    ASSERT_NE(scaled, stock);
    for (HWND control : controls) {
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), scaled);
        EXPECT_EQ(fontOf(control).lfHeight, 2 * stockFont.lfHeight);
        EXPECT_STREQ(fontOf(control).lfFaceName, stockFont.lfFaceName);
    }
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "C:\\videos\\sea.mp4");
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), reinterpret_cast<LPARAM>(&selectionEnd));
    EXPECT_EQ(selectionStart, 3u);
    EXPECT_EQ(selectionEnd, 9u);
    EXPECT_EQ(GetFocus(), edit);

    // Back at the system DPI: the fixed layout and the stock font; the scaled font is let go.
    const RECT back{813, 463, 1107, 617};
    moveToDpi(window, USER_DEFAULT_SCREEN_DPI, back);
    GetWindowRect(window, &outer);
    kvtest::expectRect(outer, back);
    kvtest::expectRect(kvtest::rectInParent(controls[0]), {160, 72, 248, 104});
    kvtest::expectRect(kvtest::rectInParent(controls[1]), {32, 24, 256, 56});
    kvtest::expectRect(kvtest::rectInParent(controls[2]), {40, 72, 136, 104});
    for (HWND control : controls)
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), stock);
    EXPECT_EQ(GetObjectType(scaled), 0u);
    EXPECT_EQ(GetFocus(), edit);
}

// What the shell gives a window when files are dropped on it: wide names, each ended by a zero,
// and one more zero. The window frees it (DragFinish).
HDROP dropOf(const std::wstring& name)
{
    const std::wstring names = name + L'\0';
    const size_t bytes = sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    names.copy(reinterpret_cast<wchar_t*>(drop + 1), names.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

std::optional<std::string> shortNameOf(const std::wstring& name)
{
    wchar_t shortName[MAX_PATH + 1] = {};
    const DWORD length = GetShortPathNameW(name.c_str(), shortName, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? ansiText(shortName) : std::nullopt;
}

TEST(SettingsWindowDrop, AFolderTheCodePageCannotNameIsAppliedAndRememberedByItsShortName)
{
    kvtest::ProgramDirectory directory;
    const std::wstring folder = wideText(directory.path()) + L"\\\x89c6\x9891 \xac00";  // 视频 가
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::optional<std::string> shortName = shortNameOf(folder);
    ASSERT_TRUE(shortName) << "no short name on this volume";
    createGlobals();
    {
        InProcessSettingsWindow settings(directory.path());
        ASSERT_NE(settings.window, nullptr);
        SendMessageW(settings.window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(folder)), 0);
        char text[MAX_PATH + 1] = {};
        GetWindowTextA(kvtest::children(settings.window)[1], text, sizeof text);
        EXPECT_EQ(text, *shortName);
        EXPECT_EQ(directory.readFile("kv.ini"), "[文件名]\r\n文件名=" + *shortName + "\r\n");
    }
    destroyGlobals();
    RemoveDirectoryW(folder.c_str());
}
}  // namespace
