#include "component/control/module.h"

#include <atomic>

namespace kvctl {
namespace {
std::atomic<long> liveObjects{0};
}

HMODULE thisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const wchar_t*>(&thisModule), &module);
    return module;
}

std::wstring thisModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(thisModule(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void objectCreated() { ++liveObjects; }
void objectDestroyed() { --liveObjects; }
HRESULT canUnloadNow() { return liveObjects == 0 ? S_OK : S_FALSE; }

}  // namespace kvctl
