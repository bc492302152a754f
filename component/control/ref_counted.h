#pragma once
// IUnknown's reference count for a COM object: derive `Object` from
// RefCounted<Object, its interfaces...>. The count is thread-safe and starts at 1 for the
// creator; the last Release deletes the object as an `Object` (which must be the most derived
// class or have a virtual destructor). Counting the module's live objects stays with the
// objects (module.h): the count of references is not the count of objects.
#include <windows.h>

#include <new>
#include <utility>

namespace kvctl {

template <class Object, class... Interfaces>
class RefCounted : public Interfaces... {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete static_cast<Object*>(this);
        return left;
    }

protected:
    RefCounted() = default;
    ~RefCounted() = default;

private:
    LONG references_ = 1;
};

// A new `Object` handed out as `iid`: the creator's reference goes once the interface holds one.
template <class Object, class... Arguments>
HRESULT createAs(REFIID iid, void** object, Arguments&&... arguments)
{
    auto* created = new (std::nothrow) Object(std::forward<Arguments>(arguments)...);
    if (!created)
        return E_OUTOFMEMORY;
    const HRESULT result = created->QueryInterface(iid, object);
    created->Release();
    return result;
}

}  // namespace kvctl
