#pragma once
// The class factory of an in-process server with one class, and the body of its
// DllGetClassObject export.
#include <windows.h>
#include <unknwn.h>

namespace kvctl {

// Makes a new object and returns its interface `iid` through `object` (null on failure).
using CreateObject = HRESULT (*)(REFIID iid, void** object);

// DllGetClassObject for a module serving the single class `served`: a factory that calls
// `create` for every CreateInstance without an outer object, or CLASS_E_CLASSNOTAVAILABLE.
HRESULT getClassObject(REFCLSID requested, REFCLSID served, CreateObject create, REFIID iid, void** object);

}  // namespace kvctl
