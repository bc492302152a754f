#include "component/control/class_factory.h"

#include "component/control/module.h"
#include "component/control/ref_counted.h"

namespace kvctl {
namespace {

class ClassFactory final : public RefCounted<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(CreateObject create) : create_(create) { objectCreated(); }
    ~ClassFactory() { objectDestroyed(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return create_(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            objectCreated();
        else
            objectDestroyed();
        return S_OK;
    }

private:
    CreateObject create_;
};

}  // namespace

HRESULT getClassObject(REFCLSID requested, REFCLSID served, CreateObject create, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (requested != served)
        return CLASS_E_CLASSNOTAVAILABLE;
    return createAs<ClassFactory>(iid, object, create);
}

}  // namespace kvctl
