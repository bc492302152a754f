#pragma once
// A control object with a dual automation interface: IUnknown for the whole object,
// IDispatch from the module's own type library, and the OLE control interfaces of
// OleControl.
//
// Use: declare a [dual, oleautomation] interface in the module's IDL, embed the type
// library as resource "1 TYPELIB" (kv_embed_type_library in CMake), then
//
//     class Player final : public kvctl::DispatchControl<IMyPlayer> {
//         HRESULT STDMETHODCALLTYPE Play(LONG* result) override;   // every method of IMyPlayer
//         ...                                                      // plus OleControl's hooks
//     };
//
// and create it in the class factory's CreateObject (class_factory.h) with
// kvctl::createObject<Player>(iid, object). Calls by name bind through the type
// information (GetTypeInfo) and are carried out by ITypeInfo::Invoke on the vtable, so
// the C++ methods must match the IDL exactly. Reference counting is RefCounted's
// (ref_counted.h): thread-safe, and the object deletes itself on its last Release.
#include <windows.h>
#include <oaidl.h>

#include "component/control/ole_control.h"
#include "component/control/ref_counted.h"
#include "component/control/type_library.h"

namespace kvctl {

template <class Automation>
class DispatchControl : public RefCounted<DispatchControl<Automation>, Automation, OleControl> {
public:
    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(Automation)) {
            *object = static_cast<Automation*>(this);
            this->AddRef();
            return S_OK;
        }
        if (this->queryOleInterface(iid, object))
            return S_OK;
        *object = nullptr;
        return E_NOINTERFACE;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        if (!info)
            return E_POINTER;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        if (!types().described)
            return TYPE_E_ELEMENTNOTFOUND;
        return types().described.CopyTo(info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (!types().described)
            return TYPE_E_ELEMENTNOTFOUND;
        return types().described->GetIDsOfNames(names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override
    {
        if (!types().callable)
            return TYPE_E_ELEMENTNOTFOUND;
        return types().callable->Invoke(static_cast<Automation*>(this), member, flags, parameters, result, exception,
                                        argumentError);
    }

protected:
    DispatchControl() = default;

private:
    const AutomationTypeInfo& types()
    {
        if (!types_.described)
            types_ = automationTypeInfo(__uuidof(Automation));
        return types_;
    }

    AutomationTypeInfo types_;
};

// The body of a CreateObject (class_factory.h) for a control class with a default
// constructor: a new object, handed out as `iid`.
template <class Control>
HRESULT createObject(REFIID iid, void** object)
{
    return createAs<Control>(iid, object);
}

}  // namespace kvctl
