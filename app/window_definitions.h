#pragma once
// The layout records of the program's two windows, as the window layer keeps them.

// Registers the settings window's and the player window's definitions; false when the
// layout data is unusable.
bool registerWindowDefinitions();
