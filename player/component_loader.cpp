#include "player/component_loader.h"

#include <memory>

#include "platform/external_calls.h"

namespace {

constexpr char classFactoryInterfaceText[] = "{00000001-0000-0000-C000-000000000046}";
constexpr GUID dispatchInterface{0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

using GetClassObject = HRESULT(STDAPICALLTYPE*)(const CLSID*, const IID*, void**);

}  // namespace

GUID guidFromText(const char* text)
{
    GUID id{};
    int count = ext::multiByteToWideChar(site::guidSize, CP_ACP, 0, text, -1, nullptr, 0);
    if (count <= 0)
        return id;
    auto wide = std::make_unique<wchar_t[]>(count);
    ext::multiByteToWideChar(site::guidConvert, CP_ACP, 0, text, -1, wide.get(), count);
    ext::clsidFromString(site::guidParse, wide.get(), &id);
    return id;
}

AutomationObject loadComponent(const char* classIdText, const char* dllPath, HMODULE* moduleOut)
{
    HMODULE module = ext::loadLibrary(site::loadLibrary, dllPath);
    *moduleOut = module;
    if (!module)
        return {};

    auto entry = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(ext::getProcAddress(site::loadLookUp, module, "DllGetClassObject")));
    if (!entry) {
        ext::freeLibrary(site::loadFreeAfterLookUp, module);
        *moduleOut = nullptr;
        return {};
    }

    const IID factoryInterface = guidFromText(classFactoryInterfaceText);
    const CLSID classId = guidFromText(classIdText);
    IClassFactory* factory = nullptr;
    if (entry(&classId, &factoryInterface, reinterpret_cast<void**>(&factory)) != S_OK || !factory) {
        ext::freeLibrary(site::loadFreeAfterFactory, module);
        *moduleOut = nullptr;
        return {};
    }

    AutomationObject instance;
    factory->CreateInstance(nullptr, dispatchInterface, instance.pointerSlot());
    factory->Release();
    return instance.copy();
}
