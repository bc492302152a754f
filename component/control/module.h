#pragma once
// The DLL that holds this code: its handle, its own path, and the count of live objects
// that decides whether it may be unloaded.
#include <windows.h>

#include <string>

namespace kvctl {

// The module (DLL or EXE) this library is linked into, found from one of its own addresses,
// so no DllMain is needed.
HMODULE thisModule();
std::wstring thisModulePath();

// Every COM object of the module counts itself while alive; DllCanUnloadNow answers
// S_OK only when none is left.
void objectCreated();
void objectDestroyed();
HRESULT canUnloadNow();

}  // namespace kvctl
