#include "component/kv_settings.h"

#include <windows.h>

#include <string>

#include "component/control/module.h"

namespace {

std::wstring settingsFile()
{
    std::wstring path = kvctl::thisModulePath();
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"kv.ini";
}

}  // namespace

int playSetting(const wchar_t* key, int fallback)
{
    return static_cast<int>(GetPrivateProfileIntW(L"播放", key, fallback, settingsFile().c_str()));
}
