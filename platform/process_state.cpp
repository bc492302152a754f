#include "platform/process_state.h"

#include <algorithm>

ProcessState processState;

void registerExitRoutine(ExitRoutine routine)
{
    auto& routines = processState.exitRoutines;
    if (std::find(routines.begin(), routines.end(), routine) == routines.end())
        routines.push_back(routine);
}
