#pragma once
// The one message loop of the run.

// Pumps messages until the quit message and returns its exit code; returns 0 at once when
// no program window is open when it starts.
int runMessageLoop();
