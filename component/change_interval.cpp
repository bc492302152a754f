#include "component/change_interval.h"

#include <windows.h>

#include <string>

#include "component/control/module.h"

namespace {

constexpr int defaultMinutes = 10;

// kv keeps kv.exe, APlayer.dll and kv.ini in one folder.
std::wstring settingsFile()
{
    std::wstring path = kvctl::thisModulePath();
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"kv.ini";
}

}  // namespace

std::chrono::minutes changeInterval()
{
    const int minutes =
        static_cast<int>(GetPrivateProfileIntW(L"播放", L"换片间隔", defaultMinutes, settingsFile().c_str()));
    return std::chrono::minutes(minutes < 0 ? defaultMinutes : minutes);
}

bool changeAtPassEnd(std::chrono::milliseconds played, std::chrono::minutes interval) { return played >= interval; }
