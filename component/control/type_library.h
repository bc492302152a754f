#pragma once
// Type information from the type library embedded in this module's resources
// (resource "1 TYPELIB"), loaded without touching the registry.
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

namespace kvctl {

// The type information of `guid` from the module's own type library, or null.
Microsoft::WRL::ComPtr<ITypeInfo> moduleTypeInfo(REFGUID guid);

// A dual interface as callers see it (the dispatch interface, whose functions carry the
// [out, retval] result as the call's result) and as ITypeInfo::Invoke calls it (the
// vtable interface). Both are null when the library lacks the interface.
struct AutomationTypeInfo {
    Microsoft::WRL::ComPtr<ITypeInfo> described;
    Microsoft::WRL::ComPtr<ITypeInfo> callable;
};
AutomationTypeInfo automationTypeInfo(REFIID dualInterface);

}  // namespace kvctl
