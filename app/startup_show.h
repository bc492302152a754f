#pragma once
// How the settings window is first shown: minimised when the program was started minimised,
// as its login shortcut starts it, so that it waits on the taskbar; otherwise as usual.
#include <windows.h>

// True for the show commands that start a window minimised.
bool isMinimisedShowCommand(WORD showCommand);

// SW_SHOWMINNOACTIVE when the process was started with a minimising show command in its
// start-up information, else SW_SHOW.
int settingsWindowShowCommand();
