#include "platform/program_end.h"

#include "app/end_of_run.h"
#include "app/hidden_owner_window.h"
#include "platform/process_state.h"
#include "platform/window_layer.h"
#include "wallpaper/desktop_embedder.h"
#include "tests/app/test_window.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <memory>
#include <vector>

namespace {
std::vector<int> ran;
void firstRoutine() { ran.push_back(1); }
void secondRoutine() { ran.push_back(2); }

TEST(Shutdown, DestroysWindowsSilentlyRunsExitRoutinesOnceAndEndsOle)
{
    using namespace testwindow;
    ran.clear();
    processState = ProcessState{};
    setEndOfRunSteps();
    processState.mainThreadId = GetCurrentThreadId();
    OleInitialize(nullptr);
    processState.oleInitialized = true;
    processState.hiddenOwnerWindow = createHiddenOwnerWindow();
    ASSERT_NE(processState.hiddenOwnerWindow, nullptr);
    HWND hiddenOwner = processState.hiddenOwnerWindow;

    ASSERT_TRUE(registerWindowDefinition({windowId, {{ownEntry, ""}}}));
    Record record;
    HWND window = loadWindow(std::make_unique<TestWindow>(record), nullptr);
    ASSERT_NE(window, nullptr);
    registerExitRoutine(firstRoutine);
    registerExitRoutine(secondRoutine);
    registerExitRoutine(firstRoutine);

    shutdown(0);

    EXPECT_EQ(processState.eventBlock, 1);
    EXPECT_TRUE(processState.shuttingDown);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(record.destroyed, 0);
    EXPECT_EQ(findWindowDefinition(windowId), nullptr);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_TRUE(processState.exitRoutines.empty());
    EXPECT_FALSE(IsWindow(hiddenOwner));
    EXPECT_EQ(processState.hiddenOwnerWindow, nullptr);
    EXPECT_FALSE(processState.oleInitialized);
    processState = ProcessState{};
}

// A shell's desktop in this process: the icon view in its owner, the wallpaper layer behind it.
HWND makeShellWindow(const char* className, HWND parent)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    const DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
    return CreateWindowExA(0, className, "", style, 0, 0, 100, 100, parent, nullptr, windowClass.hInstance, nullptr);
}

// A fault after the embedding ends the run with no handler: the end of the run itself shows
// the layer the embedding hid again.
TEST(Shutdown, AfterAFaultTheHiddenWallpaperLayerIsShownAgain)
{
    processState = ProcessState{};
    setEndOfRunSteps();
    processState.mainThreadId = GetCurrentThreadId();
    HWND owner = makeShellWindow("WorkerW", nullptr);
    HWND iconView = makeShellWindow("SHELLDLL_DefView", owner);
    HWND layer = makeShellWindow("WorkerW", nullptr);
    ASSERT_TRUE(owner && iconView && layer);
    SetWindowPos(layer, owner, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(layer, SW_HIDE);
    iconViewWindow = iconView;
    wallpaperLayerWindow = layer;

    ++processState.eventBlock;  // as the fatal report does before it ends the run
    shutdown(-1);

    EXPECT_TRUE(IsWindowVisible(layer));
    EXPECT_EQ(wallpaperLayerWindow, nullptr);
    DestroyWindow(layer);
    DestroyWindow(owner);
    iconViewWindow = nullptr;
    processState = ProcessState{};
}
}  // namespace
