// Every typed wrapper reaches its own system function with its arguments in order and
// brings the result back: checked against what the system itself reports.
#include "platform/external_calls.h"

#include "tests/platform/test_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr CallSite here{0x04010000, 1};
constexpr char windowClass[] = "kv_external_calls_test";

// A top-level window with one child, of a class of our own.
class ExternalCalls : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA windowClassInfo{};
        windowClassInfo.lpfnWndProc = DefWindowProcA;
        windowClassInfo.hInstance = GetModuleHandleA(nullptr);
        windowClassInfo.lpszClassName = windowClass;
        RegisterClassA(&windowClassInfo);
    }

    ExternalCalls()
        : top_(CreateWindowExA(0, windowClass, "kv top", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr)),
          child_(CreateWindowExA(0, windowClass, "kv child", WS_CHILD, 0, 0, 50, 20, top_, nullptr,
                                 GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~ExternalCalls() override { DestroyWindow(top_); }

    HWND top_;
    HWND child_;
};

TEST_F(ExternalCalls, FindWindowAndFindWindowEx)
{
    EXPECT_EQ(ext::findWindow(here, windowClass, "kv top"), top_);
    EXPECT_EQ(ext::findWindow(here, windowClass, "no such title"), nullptr);
    EXPECT_EQ(ext::findWindowEx(here, top_, nullptr, windowClass, "kv child"), child_);
    EXPECT_EQ(ext::findWindowEx(here, top_, child_, windowClass, "kv child"), nullptr);
}

TEST_F(ExternalCalls, SendMessageTimeoutWritesTheResult)
{
    DWORD_PTR length = 0;
    EXPECT_NE(ext::sendMessageTimeout(here, top_, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 1000, &length), 0);
    EXPECT_EQ(length, 6u);
}

TEST_F(ExternalCalls, SetParentAndShowWindow)
{
    const HWND other = CreateWindowExA(0, windowClass, "kv other", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(ext::setParent(here, child_, other), top_);
    EXPECT_EQ(GetAncestor(child_, GA_PARENT), other);
    ext::showWindow(here, child_, SW_SHOW);
    EXPECT_TRUE(GetWindowLongPtrA(child_, GWL_STYLE) & WS_VISIBLE);
    DestroyWindow(other);
}

BOOL CALLBACK collect(HWND window, LPARAM found)
{
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

TEST_F(ExternalCalls, EnumWindowsPassesTheParameterToTheCallback)
{
    std::vector<HWND> found;
    EXPECT_TRUE(ext::enumWindows(here, collect, reinterpret_cast<LPARAM>(&found)));
    EXPECT_NE(std::find(found.begin(), found.end(), top_), found.end());
}

TEST_F(ExternalCalls, CreateWindowExTakesAllTwelveArguments)
{
    const HINSTANCE instance = ext::getModuleHandle(here, nullptr);
    EXPECT_EQ(instance, GetModuleHandleW(nullptr));
    const HWND created = ext::createWindowEx(here, WS_EX_TOOLWINDOW, windowClass, "kv created", WS_CHILD, 3, 4, 60,
                                             30, top_, reinterpret_cast<HMENU>(501), instance, nullptr);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(GetDlgCtrlID(created), 501);
    EXPECT_EQ(GetParent(created), top_);
    EXPECT_TRUE(GetWindowLongPtrA(created, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT rect{};
    GetWindowRect(created, &rect);
    MapWindowPoints(nullptr, top_, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 3);
    EXPECT_EQ(rect.top, 4);
    EXPECT_EQ(rect.right - rect.left, 60);
    EXPECT_EQ(rect.bottom - rect.top, 30);
}

TEST_F(ExternalCalls, WindowLongAndPlacement)
{
    const LONG exStyle = ext::getWindowLong(here, top_, GWL_EXSTYLE);
    EXPECT_EQ(exStyle, GetWindowLongA(top_, GWL_EXSTYLE));
    ext::setWindowLong(here, top_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLongA(top_, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(ext::setLayeredWindowAttributes(here, top_, 0, 255, LWA_ALPHA));
    EXPECT_TRUE(ext::setWindowPos(here, child_, nullptr, 7, 8, 90, 40, SWP_NOZORDER | SWP_NOACTIVATE));
    RECT rect{};
    GetWindowRect(child_, &rect);
    MapWindowPoints(nullptr, top_, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 7);
    EXPECT_EQ(rect.top, 8);
    EXPECT_EQ(rect.right - rect.left, 90);
    EXPECT_EQ(rect.bottom - rect.top, 40);
}

TEST(ExternalCallsWithoutWindows, AtlHostingClassIsRegistered)
{
    ext::atlAxWinInit(here);
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetClassInfoExA(nullptr, "AtlAxWin", &info));
}

TEST(ExternalCallsWithoutWindows, MoveMemoryCopiesTheBytes)
{
    const char source[] = "kv!";
    char destination[4] = {};
    ext::moveMemory(here, destination, source, 4);
    EXPECT_STREQ(destination, "kv!");
}

TEST(ExternalCallsWithoutWindows, LoadLookUpAndFreeALibrary)
{
    const std::string probe = testBinDirectory() + "\\gate_probe.dll";
    const HMODULE module = ext::loadLibrary(here, probe.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(ext::getProcAddress(here, module, "probe3"), GetProcAddress(module, "probe3"));
    EXPECT_EQ(ext::getProcAddress(here, module, "NoSuchExport"), nullptr);
    EXPECT_TRUE(ext::freeLibrary(here, module));
    EXPECT_EQ(GetModuleHandleA(probe.c_str()), nullptr);
    EXPECT_EQ(ext::loadLibrary(here, "kv_no_such_library.dll"), nullptr);
}

TEST(ExternalCallsWithoutWindows, TextToGuid)
{
    const char text[] = "{A9332148-C691-4B9D-91FC-B9C461DBE9DD}";
    const int units = ext::multiByteToWideChar(here, CP_ACP, 0, text, -1, nullptr, 0);
    ASSERT_EQ(units, 39);
    std::vector<wchar_t> wide(units);
    ext::multiByteToWideChar(here, CP_ACP, 0, text, -1, wide.data(), units);
    CLSID id{};
    EXPECT_EQ(ext::clsidFromString(here, wide.data(), &id), S_OK);
    const CLSID expected = {0xA9332148, 0xC691, 0x4B9D, {0x91, 0xFC, 0xB9, 0xC4, 0x61, 0xDB, 0xE9, 0xDD}};
    EXPECT_TRUE(IsEqualGUID(id, expected));
}

TEST(ExternalCallsWithoutWindows, ConvertsCodePage936Text)
{
    const char text[] = "夜景";  // GBK bytes
    wchar_t wide[8] = {};
    EXPECT_EQ(ext::multiByteToWideChar(here, 936, 0, text, -1, wide, 8), 3);
    EXPECT_EQ(std::wstring(wide), L"\u591C\u666F");
}

}  // namespace
