#include "platform/program_end.h"

#include "app/hidden_owner_window.h"
#include "platform/external_calls.h"
#include "platform/process_state.h"
#include "platform/window_layer.h"
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
    processState.destroyWindows = destroyProgramWindows;
    processState.freeLibraries = releaseLibraries;
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
}  // namespace
