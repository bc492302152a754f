#include "component/control/type_library.h"

#include <oleauto.h>

#include "component/control/module.h"

namespace kvctl {

Microsoft::WRL::ComPtr<ITypeInfo> moduleTypeInfo(REFGUID guid)
{
    Microsoft::WRL::ComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(thisModulePath().c_str(), REGKIND_NONE, &library)))
        return nullptr;
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    if (FAILED(library->GetTypeInfoOfGuid(guid, &info)))
        return nullptr;
    return info;
}

AutomationTypeInfo automationTypeInfo(REFIID dualInterface)
{
    AutomationTypeInfo result;
    result.described = moduleTypeInfo(dualInterface);
    if (!result.described)
        return result;
    result.callable = result.described;
    TYPEATTR* attributes = nullptr;
    if (FAILED(result.described->GetTypeAttr(&attributes)))
        return {};
    bool dual = attributes->typekind == TKIND_DISPATCH && (attributes->wTypeFlags & TYPEFLAG_FDUAL);
    result.described->ReleaseTypeAttr(attributes);
    if (dual) {
        HREFTYPE vtableInterface = 0;
        Microsoft::WRL::ComPtr<ITypeInfo> callable;
        if (SUCCEEDED(result.described->GetRefTypeOfImplType(-1, &vtableInterface)) &&
            SUCCEEDED(result.described->GetRefTypeInfo(vtableInterface, &callable))) {
            result.callable = callable;
        }
    }
    return result;
}

}  // namespace kvctl
