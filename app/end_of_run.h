#pragma once
// What the end of the run does with the program's own things, whichever way the run ends (the
// user closing kv, or a fatal report, when no window handler runs any more).

// Gives the end of the run its steps: the program windows go, and with the player window the
// video, so the desktop gets its own wallpaper back; then the function table's libraries are
// freed.
void setEndOfRunSteps();
