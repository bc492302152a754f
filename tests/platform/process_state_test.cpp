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
