#include "platform/window_events.h"

#include "platform/process_state.h"

bool windowEventsAllowed() { return processState.eventBlock == 0; }
