#include "platform/process_state.h"

#include <gtest/gtest.h>

namespace {
void first() {}
void second() {}
}  // namespace

TEST(ExitRoutines, SameRoutineTwiceIsKeptOnceInRegistrationOrder)
{
    processState.exitRoutines.clear();
    registerExitRoutine(first);
    registerExitRoutine(second);
    registerExitRoutine(first);
    ASSERT_EQ(processState.exitRoutines.size(), 2u);
    EXPECT_EQ(processState.exitRoutines[0], &first);
    EXPECT_EQ(processState.exitRoutines[1], &second);
}

TEST(ProcessStateRecord, StartsWithNothingSetUp)
{
    const ProcessState fresh;
    EXPECT_TRUE(fresh.programDirectory.empty());
    EXPECT_TRUE(fresh.executableName.empty());
    EXPECT_EQ(fresh.mainThreadId, 0u);
    EXPECT_EQ(fresh.hiddenOwnerWindow, nullptr);
    EXPECT_FALSE(fresh.oleInitialized);
    EXPECT_TRUE(fresh.exitRoutines.empty());
    EXPECT_FALSE(fresh.loopStarted);
    EXPECT_FALSE(fresh.shuttingDown);
    EXPECT_EQ(fresh.eventBlock, 0);
}
