#pragma once
// The never-shown window "_QX_HideOwner": it receives endProgramMessage, by which any thread
// asks the main thread to end the run.
#include <windows.h>

// Registers the class once and creates the window; null when the system refuses.
HWND createHiddenOwnerWindow();
