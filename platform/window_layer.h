#pragma once
// The window layer: the loaded program windows (one per registered window definition), their
// keyboard pre-translation, and the quit rule. See program_window.h for how a window class is
// written.
#include "platform/program_window.h"
#include "platform/window_definition.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

// Loads the window: null when its definition is not registered or the system refuses the
// window. When a window of the same definition is still open no second one is made: the
// open one is restored if minimised, activated otherwise, and returned.
HWND loadWindow(std::unique_ptr<ProgramWindow> window, HWND owner);

// The loaded window of that definition while it exists, else null.
HWND loadedWindow(uint32_t windowId);

// Text of a control of a loaded window. A window identifier that is not defined, or a window
// that is not loaded, is a fatal run-time error.
std::string componentText(uint32_t windowId, uint32_t componentId);
void setComponentText(uint32_t windowId, uint32_t componentId, const std::string& text);

// True while a window made from one of the definitions exists.
bool anyProgramWindowOpen();

// Offers the message to its window and to each window up its GetParent chain; true when a
// program window consumed it (it is then neither translated nor dispatched).
bool preTranslateMessage(MSG& message);

// End of the run: destroys every open program window (handlers stay silent because events
// are blocked by then) and releases the window objects and definitions.
void destroyProgramWindows();
