// The settings window of a running kv.exe, driven from outside like a user would.
#include "tests/driver/kv_driver.h"
#include "tests/driver/gtest_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using namespace kvtest;

const std::string settingsTitle = "kv_\xB6\xAF\xCC\xAC\xB1\xDA\xD6\xBD\xC9\xE8\xD6\xC3";  // kv_动态壁纸设置
const std::string sectionAndKey = "\xCE\xC4\xBC\xFE\xC3\xFB";                             // 文件名

std::string settingsFile(const std::string& value)
{
    return "[" + sectionAndKey + "]\r\n" + sectionAndKey + "=" + value + "\r\n";
}

// A kv.exe in its own program directory, with its settings window shown.
struct RunningKv {
    explicit RunningKv(const std::string* settingsBytes = nullptr)
    {
        if (settingsBytes)
            directory.writeFile("kv.ini", *settingsBytes);
        kv = std::make_unique<Process>(Process::start(directory));
        window = kv->waitForWindow(nullptr, settingsTitle.c_str());
        if (window) {
            const auto controls = children(window);
            if (controls.size() == 3) {
                applyButton = controls[0];
                fileNameEdit = controls[1];
                browseButton = controls[2];
            }
        }
    }

    ProgramDirectory directory;
    std::unique_ptr<Process> kv;
    HWND window = nullptr;
    HWND applyButton = nullptr;
    HWND fileNameEdit = nullptr;
    HWND browseButton = nullptr;
};

// Clicks "选择" and waits for the file dialog it opens.
HWND openFileDialog(const RunningKv& run)
{
    clickLater(run.browseButton);
    return waitForFileDialog(run.kv->id());
}

#define ASSERT_SETTINGS_WINDOW(run)   \
    ASSERT_NE((run).window, nullptr); \
    ASSERT_NE((run).fileNameEdit, nullptr)

// A kv.exe started without kv.ini, its settings window found.
class SettingsWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_SETTINGS_WINDOW(run); }

    RunningKv run;
};

TEST_F(SettingsWindow, TitleFrameAndCentredOuterRectangle)
{
    EXPECT_EQ(text(run.window), settingsTitle);

    const RECT outer = windowRect(run.window);
    EXPECT_EQ(outer.right - outer.left, 294);
    EXPECT_EQ(outer.bottom - outer.top, 154);
    EXPECT_EQ(outer.left, (screenWidth() - 294) / 2);
    EXPECT_EQ(outer.top, (screenHeight() - 154) / 2);

    EXPECT_EQ(style(run.window) & ~(WS_VISIBLE | WS_CLIPSIBLINGS),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
    EXPECT_TRUE(style(run.window) & WS_VISIBLE);
    // The system adds the raised window edge to every captioned window; the window takes dropped
    // files; nothing else is set.
    EXPECT_EQ(exStyle(run.window) & ~WS_EX_WINDOWEDGE, WS_EX_ACCEPTFILES);
    EXPECT_EQ(GetWindow(run.window, GW_OWNER), nullptr);
}

TEST_F(SettingsWindow, ControlsInTabOrderWithClassesStylesRectsAndTexts)
{
    const LONG_PTR common = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
    const LONG_PTR button = common | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
    struct Expected {
        HWND control;
        const char* className;
        LONG_PTR style;
        LONG_PTR exStyle;
        RECT rect;
        std::string text;
    } const expected[] = {
        {run.applyButton, "Button", button, 0, {160, 72, 248, 104}, "\xD3\xA6\xD3\xC3"},  // 应用
        {run.fileNameEdit, "Edit", common | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {32, 24, 256, 56}, ""},
        {run.browseButton, "Button", button, 0, {40, 72, 136, 104}, "\xD1\xA1\xD4\xF1"},  // 选择
    };
    for (const Expected& control : expected) {
        SCOPED_TRACE(control.className + std::string(" ") + control.text);
        EXPECT_EQ(_stricmp(className(control.control).c_str(), control.className), 0) << className(control.control);
        EXPECT_EQ(style(control.control), control.style);
        EXPECT_EQ(exStyle(control.control), control.exStyle);
        expectRect(rectInParent(control.control), control.rect);
        EXPECT_EQ(text(control.control), control.text);
    }
}

TEST_F(SettingsWindow, TabMovesTheFocusInLayoutOrder)
{
    ASSERT_TRUE(pressKey(run.applyButton, VK_TAB));
    EXPECT_TRUE(waitUntil([&] { return focusOf(run.window) == run.fileNameEdit; }));
    ASSERT_TRUE(pressKey(run.fileNameEdit, VK_TAB));
    EXPECT_TRUE(waitUntil([&] { return focusOf(run.window) == run.browseButton; }));
    ASSERT_TRUE(pressKey(run.browseButton, VK_TAB));
    EXPECT_TRUE(waitUntil([&] { return focusOf(run.window) == run.applyButton; }));
}

TEST_F(SettingsWindow, WithoutSettingsFileTheEditIsEmptyAndNothingIsWrittenOrOpened)
{
    EXPECT_EQ(text(run.fileNameEdit), "");
    EXPECT_FALSE(run.directory.readFile("kv.ini").has_value());
    EXPECT_TRUE(topLevelWindows(run.kv->id(), "pmrq").empty());
}

struct RememberedCase {
    const char* stored;
    const char* shown;
};

class RememberedName : public testing::TestWithParam<RememberedCase> {};

TEST_P(RememberedName, OnlyAnMp4NameInAnyCaseIsShownAtStartUp)
{
    const std::string bytes = settingsFile(GetParam().stored);
    RunningKv run(&bytes);
    ASSERT_SETTINGS_WINDOW(run);
    EXPECT_EQ(text(run.fileNameEdit), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(SettingsWindow, RememberedName,
                         testing::Values(RememberedCase{"C:\\videos\\a.mp4", "C:\\videos\\a.mp4"},
                                         RememberedCase{"C:\\videos\\GOPR0001.MP4", "C:\\videos\\GOPR0001.MP4"},
                                         RememberedCase{"C:\\videos\\a.Mp4", "C:\\videos\\a.Mp4"},
                                         RememberedCase{"C:\\videos\\a.mp4x", ""}, RememberedCase{"mp4", ""},
                                         RememberedCase{"C:\\videos\\a.MP3", ""}));

// A "换片间隔" item as the system menu sends it: its command ("1 分钟" 0x0050, "10 分钟" 0x0070).
// Wine gives no other process's system menu; the items' texts and marks are read in-process
// (change_interval_menu_test).
void chooseChangeInterval(HWND settings, WPARAM command) { PostMessageA(settings, WM_SYSCOMMAND, command, 0); }

TEST(ChangeInterval, OneMinuteIsWrittenInItsOwnSectionAndTenMinutesLeavesTheSettingsFileAsItWas)
{
    const std::string before = settingsFile("C:\\videos\\sea.avi");
    RunningKv run(&before);
    ASSERT_SETTINGS_WINDOW(run);

    chooseChangeInterval(run.window, 0x0050);
    const std::string oneMinute =
        before + "[\xB2\xA5\xB7\xC5]\r\n\xBB\xBB\xC6\xAC\xBC\xE4\xB8\xF4=1\r\n";  // [播放] 换片间隔
    EXPECT_TRUE(waitUntil([&] { return run.directory.readFile("kv.ini") == oneMinute; }))
        << *run.directory.readFile("kv.ini");

    chooseChangeInterval(run.window, 0x0070);
    EXPECT_TRUE(waitUntil([&] { return run.directory.readFile("kv.ini") == before; }))
        << *run.directory.readFile("kv.ini");
}

TEST_F(SettingsWindow, ApplyWritesTheEditTextReadAfresh)
{
    setText(run.fileNameEdit, "C:\\first.avi");
    click(run.applyButton);
    EXPECT_EQ(run.directory.readFile("kv.ini"), settingsFile("C:\\first.avi"));

    setText(run.fileNameEdit, "");
    click(run.applyButton);
    EXPECT_EQ(run.directory.readFile("kv.ini"), settingsFile(""));
}

TEST_F(SettingsWindow, EscInTheEditClosesTheWindowAndTheRunEndsWithZero)
{
    ASSERT_TRUE(pressKey(run.fileNameEdit, VK_ESCAPE));
    EXPECT_EQ(run.kv->waitForExit(), 0u);
}

class EscWithModifier : public SettingsWindow, public testing::WithParamInterface<WORD> {};

TEST_P(EscWithModifier, DoesNotClose)
{
    ASSERT_TRUE(pressKeyBeforeMarker(run.fileNameEdit, VK_ESCAPE, {GetParam()}, 'x'));
    EXPECT_EQ(text(run.fileNameEdit), "x");
    EXPECT_TRUE(IsWindow(run.window));
    EXPECT_TRUE(run.kv->running());
}

INSTANTIATE_TEST_SUITE_P(SettingsWindow, EscWithModifier, testing::Values(VK_SHIFT, VK_CONTROL));

TEST_F(SettingsWindow, EnterDoesNothing)
{
    ASSERT_TRUE(pressKey(run.applyButton, VK_RETURN));
    ASSERT_TRUE(pressKey(run.fileNameEdit, 'X'));
    EXPECT_TRUE(waitUntil([&] { return text(run.fileNameEdit) == "x"; }));
    EXPECT_FALSE(run.directory.readFile("kv.ini").has_value());
    EXPECT_TRUE(run.kv->running());
}

TEST_F(SettingsWindow, BrowseShowsTheChosenFileAndALaterCancelShowsItAgain)
{
    const std::string chosen = run.directory.pathOf("a.mp4");
    run.directory.writeFile("a.mp4", "");
    HWND dialog = openFileDialog(run);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(chooseFile(dialog, chosen));
    EXPECT_TRUE(waitUntil([&] { return text(run.fileNameEdit) == chosen; })) << text(run.fileNameEdit);
    EXPECT_FALSE(run.directory.readFile("kv.ini").has_value());

    setText(run.fileNameEdit, "typed");
    dialog = openFileDialog(run);
    ASSERT_NE(dialog, nullptr);
    cancelFileDialog(dialog);
    EXPECT_TRUE(waitUntil([&] { return text(run.fileNameEdit) == chosen; })) << text(run.fileNameEdit);
}

TEST_F(SettingsWindow, BrowseOpensInTheProgramDirectoryAndCancelBeforeAnyChoiceEmptiesTheEdit)
{
    // Started from %TEMP%; the dialog, given no initial folder, opens in the current directory.
    setText(run.fileNameEdit, "C:\\remembered.mp4");
    HWND dialog = openFileDialog(run);
    ASSERT_NE(dialog, nullptr);
    const std::string& path = run.directory.path();
    EXPECT_EQ(fileDialogFolder(dialog), path.substr(path.find_last_of('\\') + 1));
    cancelFileDialog(dialog);
    EXPECT_TRUE(waitUntil([&] { return text(run.fileNameEdit).empty(); })) << text(run.fileNameEdit);
}

TEST_F(SettingsWindow, TwoCopiesRunAtOnce)
{
    RunningKv second;
    ASSERT_SETTINGS_WINDOW(second);
    EXPECT_NE(run.window, second.window);
    close(run.window);
    EXPECT_EQ(run.kv->waitForExit(), 0u);
    EXPECT_TRUE(second.kv->running());
    close(second.window);
    EXPECT_EQ(second.kv->waitForExit(), 0u);
}

using HiddenOwnerWindow = SettingsWindow;

TEST_F(HiddenOwnerWindow, ExistsHiddenAsAToolWindowWithoutTitle)
{
    const auto windows = topLevelWindows(run.kv->id(), "_QX_HideOwner");
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_FALSE(visible(windows[0]));
    EXPECT_EQ(text(windows[0]), "");
    // Style 0 counts as an overlapped window: the system adds the window edge (and a minimum size).
    EXPECT_EQ(exStyle(windows[0]) & ~WS_EX_WINDOWEDGE, WS_EX_TOOLWINDOW);
}

TEST_F(HiddenOwnerWindow, EndProgramMessageEndsTheRunWithItsExitCode)
{
    const auto windows = topLevelWindows(run.kv->id(), "_QX_HideOwner");
    ASSERT_EQ(windows.size(), 1u);
    PostMessageA(windows[0], 0x83E7, 7, 0);
    EXPECT_EQ(run.kv->waitForExit(), 7u);
}
}  // namespace
