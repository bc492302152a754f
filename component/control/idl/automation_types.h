#pragma once
// What the widl headers of our control IDL files include for "automation_types.idl":
// the system's own declarations.
#include <windows.h>
#include <oaidl.h>
