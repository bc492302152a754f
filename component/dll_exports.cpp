// The exports through which hosts load the control without registration.
#include <windows.h>

#include "component/aplayer_control.h"
#include "component/control/class_factory.h"
#include "component/control/module.h"

namespace {
// The class identifier hosts ask for.
constexpr CLSID aPlayerClass = {0xA9332148, 0xC691, 0x4B9D, {0x91, 0xFC, 0xB9, 0xC4, 0x61, 0xDB, 0xE9, 0xDD}};
}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID requested, REFIID iid, void** object)
{
    return kvctl::getClassObject(requested, aPlayerClass, kvctl::createObject<APlayerControl>, iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return kvctl::canUnloadNow(); }
