#pragma once
// Loading the playback component without registration: its DLL by path, its class object
// through DllGetClassObject, one instance asked for IDispatch.
#include <windows.h>

#include "player/automation_object.h"

// The 16 bytes of a GUID written as text ("{...}"); a text that does not parse gives
// whatever the parser left in the zeroed GUID.
GUID guidFromText(const char* text);

// An instance of the class `classIdText` from the DLL at `dllPath`, or an empty object.
// The DLL stays loaded once it exports DllGetClassObject and that call succeeds; its
// handle (or null) is stored through `moduleOut`.
AutomationObject loadComponent(const char* classIdText, const char* dllPath, HMODULE* moduleOut);
