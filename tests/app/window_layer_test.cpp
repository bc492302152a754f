#include "platform/window_layer.h"

#include "platform/process_state.h"
#include "tests/app/test_window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
using namespace testwindow;

class WindowLayer : public testing::Test {
protected:
    void SetUp() override
    {
        processState.eventBlock = 0;
        processState.loopStarted = false;
        ASSERT_TRUE(registerWindowDefinition({windowId, {{ownEntry, ""}, {button, ""}, {edit, ""}}}));
    }
    void TearDown() override
    {
        processState.eventBlock = 0;
        processState.loopStarted = false;
        destroyProgramWindows();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND load() { return loadWindow(std::make_unique<TestWindow>(record), nullptr); }

    static bool quitPosted()
    {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }

    static MSG keyDown(HWND window, WPARAM key)
    {
        MSG message{};
        message.hwnd = window;
        message.message = WM_KEYDOWN;
        message.wParam = key;
        return message;
    }

    static void holdKey(int virtualKey, bool held)
    {
        BYTE state[256];
        GetKeyboardState(state);
        state[virtualKey] = held ? 0x80 : 0;
        SetKeyboardState(state);
    }

    Record record;
};

TEST_F(WindowLayer, DefinitionsMustBeWindowsWithEntriesAndUnique)
{
    EXPECT_FALSE(registerWindowDefinition({windowId, {{ownEntry, ""}}}));
    EXPECT_FALSE(registerWindowDefinition({0x06010201, {{ownEntry, ""}}}));
    EXPECT_FALSE(registerWindowDefinition({0x52010201, {}}));
    const WindowDefinition* definition = findWindowDefinition(windowId);
    ASSERT_NE(definition, nullptr);
    ASSERT_EQ(definition->entries.size(), 3u);
    EXPECT_EQ(definition->entries[0].id, ownEntry);
    EXPECT_EQ(findWindowDefinition(0x52010201), nullptr);
}

TEST_F(WindowLayer, UndefinedWindowIsNotLoaded)
{
    destroyProgramWindows();  // releases the definitions as well
    EXPECT_EQ(load(), nullptr);
    EXPECT_EQ(record.created, 0);
}

TEST_F(WindowLayer, CreatedRunsOnceWhileHiddenDestroyRunsOnDestroyAndAGoneWindowLoadsAfresh)
{
    HWND window = load();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(record.created, 1);
    EXPECT_FALSE(record.visibleWhenCreated);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(loadedWindow(windowId), window);
    EXPECT_TRUE(anyProgramWindowOpen());

    DestroyWindow(window);
    EXPECT_EQ(record.destroyed, 1);
    EXPECT_EQ(loadedWindow(windowId), nullptr);
    EXPECT_FALSE(anyProgramWindowOpen());

    Record second;
    HWND again = loadWindow(std::make_unique<TestWindow>(second), nullptr);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(IsWindow(again));
    EXPECT_EQ(second.created, 1);
}

TEST_F(WindowLayer, BlockedEventsReachNoHandler)
{
    processState.eventBlock = 1;
    HWND window = load();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    SendMessageA(GetWindow(window, GW_CHILD), BM_CLICK, 0, 0);
    DestroyWindow(window);
    EXPECT_EQ(record.created, 0);
    EXPECT_TRUE(record.clicks.empty());
    EXPECT_EQ(record.destroyed, 0);
}

TEST_F(WindowLayer, ComponentTextIsReadAndSet)
{
    ASSERT_NE(load(), nullptr);
    EXPECT_EQ(componentText(windowId, edit), "e");
    setComponentText(windowId, edit, "C:\\\xD5\x5C.mp4");
    EXPECT_EQ(componentText(windowId, edit), "C:\\\xD5\x5C.mp4");
}

TEST_F(WindowLayer, WindowGoneWhileAnotherStaysPostsNoQuit)
{
    ASSERT_TRUE(registerWindowDefinition({secondWindowId, {{ownEntry, ""}}}));
    processState.loopStarted = true;
    HWND first = load();
    Record secondRecord;
    HWND second = loadWindow(std::make_unique<TestWindow>(secondRecord, secondWindowId), first);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetWindow(second, GW_OWNER), first);
    DestroyWindow(second);
    EXPECT_FALSE(quitPosted());
    EXPECT_TRUE(anyProgramWindowOpen());
    DestroyWindow(first);
    EXPECT_TRUE(quitPosted());
}

TEST_F(WindowLayer, WindowGoneBeforeTheLoopStartedPostsNoQuit)
{
    DestroyWindow(load());
    EXPECT_FALSE(quitPosted());
}

TEST_F(WindowLayer, EnterAndPlainEscInAControlAreTakenEnterPressesNothingEscClosesTheWindow)
{
    HWND window = load();
    ASSERT_NE(window, nullptr);
    MSG enter = keyDown(GetWindow(window, GW_CHILD), VK_RETURN);
    EXPECT_TRUE(preTranslateMessage(enter));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(record.clicks.empty());

    MSG escape = keyDown(GetWindow(window, GW_CHILD), VK_ESCAPE);
    EXPECT_TRUE(preTranslateMessage(escape));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(record.destroyed, 1);
}

class EscWithModifier : public WindowLayer, public testing::WithParamInterface<int> {};

TEST_P(EscWithModifier, IsNotConsumedAndKeepsTheWindow)
{
    HWND window = load();
    MSG message = keyDown(window, VK_ESCAPE);
    holdKey(GetParam(), true);
    const bool consumed = preTranslateMessage(message);
    holdKey(GetParam(), false);
    EXPECT_FALSE(consumed);
    EXPECT_TRUE(IsWindow(window));
}

INSTANTIATE_TEST_SUITE_P(Modifiers, EscWithModifier, testing::Values(VK_SHIFT, VK_CONTROL, VK_MENU));

TEST_F(WindowLayer, MessagesOfOtherWindowsAreNotConsumed)
{
    ASSERT_NE(load(), nullptr);
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG message = keyDown(other, VK_ESCAPE);
    EXPECT_FALSE(preTranslateMessage(message));
    DestroyWindow(other);
}
}  // namespace
