#include "app/message_loop.h"

#include "platform/process_state.h"
#include "platform/window_layer.h"
#include "tests/app/test_window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
using namespace testwindow;

class MessageLoop : public testing::Test {
protected:
    void SetUp() override
    {
        processState = ProcessState{};
        ASSERT_TRUE(registerWindowDefinition({windowId, {{ownEntry, ""}}}));
    }
    void TearDown() override
    {
        destroyProgramWindows();
        processState = ProcessState{};
    }
};

TEST_F(MessageLoop, WithoutAnyProgramWindowReturnsAtOnceWithZero)
{
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT + 0x7000, 0, 0);  // would be pumped otherwise
    EXPECT_EQ(runMessageLoop(), 0);
    EXPECT_TRUE(processState.loopStarted);
    MSG left;
    EXPECT_TRUE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE));
}
}  // namespace
