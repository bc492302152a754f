#include "tests/component/component_host.h"

#include <wrl/client.h>

std::string besideProgram(const char* relative)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + relative;
}

std::string clipPath(const char* name) { return besideProgram("..\\clips\\") + name; }

std::string textFileBesideProgram(const char* name)
{
    const std::string path = besideProgram(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    const char text[] = "this is text, not a video\r\n";
    DWORD written = 0;
    const bool complete = WriteFile(file, text, sizeof text - 1, &written, nullptr) && written == sizeof text - 1;
    CloseHandle(file);
    return complete ? path : std::string();
}

ComponentLibrary::ComponentLibrary() : ComponentLibrary(besideProgram("component\\APlayer.dll")) {}

ComponentLibrary::ComponentLibrary(const std::string& path) : module_(LoadLibraryA(path.c_str())) {}

ComponentLibrary::~ComponentLibrary()
{
    if (module_)
        FreeLibrary(module_);
}

AutomationObject ComponentLibrary::create() const
{
    AutomationObject made;
    if (!module_)
        return made;
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto getClassObject =
        reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    const CLSID playerClass = {0xA9332148, 0xC691, 0x4B9D, {0x91, 0xFC, 0xB9, 0xC4, 0x61, 0xDB, 0xE9, 0xDD}};
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    if (getClassObject && SUCCEEDED(getClassObject(playerClass, IID_IClassFactory, &factory))) {
        factory->CreateInstance(nullptr, IID_IDispatch, made.pointerSlot());
    }
    return made;
}

bool cardDecodingForced()
{
    char words[64] = {};
    return GetEnvironmentVariableA("KV_CARD_DECODING", words, sizeof words) && std::string(words) == "force";
}
