#include "platform/error_box_text.h"

#include "platform/window_ids.h"

#include <gtest/gtest.h>

namespace {

// A layout like the program's, but with names, so the test sees which entry is shown.
const WindowDefinition playerWindow{layout::playerWindow, {{layout::playerWindowEntry, "pw"}, {0x06010010, "button"}}};
const WindowDefinition unnamedWindow{layout::settingsWindow, {{layout::settingsWindowEntry, ""}}};

const WindowDefinition* lookUp(uint32_t windowId)
{
    if (windowId == playerWindow.id)
        return &playerWindow;
    if (windowId == unnamedWindow.id)
        return &unnamedWindow;
    return nullptr;
}

struct BoxCase {
    const char* name;
    std::string message;
    int32_t code;
    uint32_t subject;
    int32_t position;
    std::string expected;
};

const BoxCase boxCases[] = {
    {"NoCodeNoMessage", "", 0, 0, 0, "运行时出错!\r\n\r\n0, 0\r\n"},
    {"StackImbalanceInEnumeration", "调用DLL命令后发现堆栈错误", 6, 67175356, 25,
     "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n\r\n67175356, 25\r\n"},
    {"BindingFailureHasNoCodeLine", "无法找到指定DLL库文件“atl.dll”中的输出命令“AtlAxWinInit”", 0, 0, 0,
     "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“atl.dll”中的输出命令“AtlAxWinInit”\r\n\r\n0, 0\r\n"},
    {"RoutineSubjectAddsNoWindowLines", "", 6, 0x04010000 | layout::playerWindow, 0,
     "运行时出错!\r\n\r\n错误代码：6\r\n\r\n1442906121, 0\r\n"},
    {"UnknownWindow", "载入启动窗口失败", 0, 0x52010077, 0,
     "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n1375797367, 0\r\n未找到所指定的窗口\r\n"},
    {"KnownWindowOwnEntryAtPositionZero", "", 0, layout::playerWindow, 0,
     "运行时出错!\r\n\r\n1375797257, 0\r\n\"pw\"\r\n\"pw\"\r\n"},
    {"KnownWindowNamedComponent", "", 0, layout::playerWindow, 0x06010010,
     "运行时出错!\r\n\r\n1375797257, 100728848\r\n\"pw\"\r\n\"button\"\r\n"},
    {"KnownWindowUnknownComponent", "", 0, layout::playerWindow, 0x06010099,
     "运行时出错!\r\n\r\n1375797257, 100728985\r\n\"pw\"\r\n未找到所指定的窗口组件\r\n"},
    {"UnnamedEntriesShowOnlyQuotes", "指定窗口或窗口组件不存在或尚未载入", 0, layout::settingsWindow,
     static_cast<int32_t>(layout::settingsWindowEntry),
     "运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n\r\n1375797249, "
     "100728833\r\n\"\"\r\n\"\"\r\n"},
    {"NegativeCodeAndPosition", "", -7, 0, -1, "运行时出错!\r\n\r\n错误代码：-7\r\n\r\n0, -1\r\n"},
};

class ErrorBoxText : public testing::TestWithParam<BoxCase> {};

TEST_P(ErrorBoxText, BuildsTheLinesInOrder)
{
    const BoxCase& c = GetParam();
    EXPECT_EQ(buildErrorBoxText(c.message, c.code, c.subject, c.position, lookUp), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ErrorBoxText, testing::ValuesIn(boxCases),
                         [](const testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

TEST(RuntimeErrorMessage, OnlyCodeSixHasAMessage)
{
    EXPECT_EQ(runtimeErrorMessage(6), "调用DLL命令后发现堆栈错误");
    EXPECT_EQ(runtimeErrorMessage(0), "");
    EXPECT_EQ(runtimeErrorMessage(5), "");
}

TEST(OutOfMemoryMessage, NamesTheSizeAskedFor)
{
    EXPECT_EQ(outOfMemoryMessage(1234), "分配 1234 字节内存失败!");
    EXPECT_EQ(outOfMemoryMessage(-1), "分配 -1 字节内存失败!");
}

}  // namespace
