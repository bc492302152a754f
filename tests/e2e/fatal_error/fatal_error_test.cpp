// Fatal run-time errors of the real kv.exe (and of a small probe for the exhausted heap):
// the error box, the exit status, the settings file left alone.
#include "tests/driver/kv_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD fatalExitStatus = 0xFFFFFFFF;
const std::string rememberedVideo = "[文件名]\r\n文件名=C:\\videos\\夜景.mp4\r\n";

class FatalError : public testing::Test {
protected:
    // Plants the fixture's atl.dll beside kv.exe together with a settings file.
    void plantAtl(const std::string& fixture)
    {
        ASSERT_TRUE(dir.copyIn(kvtest::binDirectory() + "\\fixtures\\" + fixture + "\\atl.dll", "atl.dll"));
        ASSERT_TRUE(dir.writeFile("kv.ini", rememberedVideo));
    }

    // Waits for the error box, reads it, presses OK and returns its text.
    std::string dismissErrorBox(kvtest::Process& kv)
    {
        const HWND box = kvtest::waitForMessageBox(kv.id(), "错误");
        if (!box)
            return "(no error box)";
        const std::string text = kvtest::messageBoxText(box);
        kvtest::pressOk(box);
        return text;
    }

    kvtest::ProgramDirectory dir;
};

TEST_F(FatalError, AtlWithoutAtlAxWinInitEndsStartUpWithTheBindingErrorBeforeAnyWindow)
{
    plantAtl("atl_without_init");
    kvtest::Process kv = kvtest::Process::start(dir);
    ASSERT_TRUE(kv.started());
    const HWND box = kvtest::waitForMessageBox(kv.id(), "错误");
    ASSERT_NE(box, nullptr);

    EXPECT_TRUE(kvtest::topLevelWindows(kv.id(), nullptr, "kv_动态壁纸设置").empty());
    EXPECT_TRUE(kvtest::topLevelWindows(kv.id(), "pmrq", nullptr).empty());
    // An OK button only, and an icon.
    std::vector<int> buttons;
    bool iconShown = false;
    for (HWND control : kvtest::children(box)) {
        if (kvtest::className(control) == "Button")
            buttons.push_back(GetDlgCtrlID(control));
        if ((kvtest::style(control) & SS_TYPEMASK) == SS_ICON && kvtest::visible(control))
            iconShown = SendMessageA(control, STM_GETICON, 0, 0) != 0;
    }
    EXPECT_EQ(buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(iconShown);

    EXPECT_EQ(dismissErrorBox(kv),
              "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“atl.dll”中的输出命令“AtlAxWinInit”\r\n\r\n0, 0\r\n");
    EXPECT_EQ(kv.waitForExit(), fatalExitStatus);
    EXPECT_EQ(dir.readFile("kv.ini"), rememberedVideo);
}

TEST_F(FatalError, UnbalancedAtlAxWinInitEndsStartUpWithRuntimeErrorSix)
{
    plantAtl("atl_unbalanced_init");
    kvtest::Process kv = kvtest::Process::start(dir);
    ASSERT_TRUE(kv.started());

    EXPECT_EQ(dismissErrorBox(kv),
              "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n\r\n67175824, 0\r\n");
    EXPECT_EQ(kv.waitForExit(), fatalExitStatus);
    EXPECT_EQ(dir.readFile("kv.ini"), rememberedVideo);
}

TEST_F(FatalError, ClickWhileTheBoxIsOpenRunsNoHandler)
{
    const std::string fixtures = kvtest::binDirectory() + "\\fixtures\\";
    ASSERT_TRUE(dir.copyIn(fixtures + "atl_unbalanced_attach\\atl.dll", "atl.dll"));
    ASSERT_TRUE(dir.copyIn(fixtures + "recording_component\\APlayer.dll", "APlayer.dll"));
    // Not a video to play at start-up, so the settings window waits for the user.
    const std::string remembered = "[文件名]\r\n文件名=C:\\videos\\old.avi\r\n";
    ASSERT_TRUE(dir.writeFile("kv.ini", remembered));
    kvtest::Process kv = kvtest::Process::start(dir);
    const HWND settings = kvtest::waitForWindow(kv.id(), nullptr, "kv_动态壁纸设置");
    ASSERT_NE(settings, nullptr);
    const auto controls = kvtest::children(settings);  // apply, file name, browse
    ASSERT_EQ(controls.size(), 3u);
    const HWND applyButton = controls[0];
    ASSERT_EQ(kvtest::text(applyButton), "应用");
    kvtest::setText(controls[1], "C:\\videos\\夜景.mp4");

    // Hosting the player fails inside the apply handler, with the settings window open.
    kvtest::clickLater(applyButton);
    const HWND box = kvtest::waitForMessageBox(kv.id(), "错误");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(kvtest::messageBoxText(box),
              "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n\r\n67175425, 1277\r\n");

    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box belongs to no window, not even the open one";

    // A handler that ran now would write the chosen file to kv.ini.
    ASSERT_TRUE(IsWindowEnabled(applyButton));
    kvtest::click(applyButton);
    kvtest::pressOk(box);
    EXPECT_EQ(kv.waitForExit(), fatalExitStatus);
    EXPECT_EQ(dir.readFile("kv.ini"), remembered);
}

class OutOfMemory : public testing::Test {
protected:
    kvtest::Process startProbe()
    {
        dir.copyIn(kvtest::binDirectory() + "\\fatal_probe.exe", "fatal_probe.exe");
        return kvtest::Process::start(dir.pathOf("fatal_probe.exe"), dir.path());
    }

    kvtest::ProgramDirectory dir;
};

TEST_F(OutOfMemory, ReportsTheSizeAndSkipsTheExitRoutines)
{
    kvtest::Process probe = startProbe();
    ASSERT_TRUE(probe.started());
    const HWND box = kvtest::waitForMessageBox(probe.id(), "错误");
    ASSERT_NE(box, nullptr);
    // The probe asks for PTRDIFF_MAX bytes.
    const std::string size = sizeof(void*) == 8 ? "9223372036854775807" : "2147483647";
    EXPECT_EQ(kvtest::messageBoxText(box),
              "运行时出错!\r\n\r\n错误信息：分配 " + size + " 字节内存失败!\r\n\r\n0, 0\r\n");
    kvtest::pressOk(box);
    EXPECT_EQ(probe.waitForExit(), fatalExitStatus);
    EXPECT_EQ(dir.readFile("exit_routine_ran"), std::nullopt);
}

TEST_F(OutOfMemory, ProbeLeavesATraceWhenItsExitRoutineRuns)
{
    ASSERT_TRUE(dir.writeFile("end_normally", ""));
    kvtest::Process probe = startProbe();
    ASSERT_TRUE(probe.started());
    EXPECT_EQ(probe.waitForExit(), 0u);
    EXPECT_NE(dir.readFile("exit_routine_ran"), std::nullopt);
}

}  // namespace
