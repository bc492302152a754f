#include "app/all_monitors_setting.h"

#include "app/settings_file.h"

#include <windows.h>

#include <string>

namespace {
constexpr const char* displaySection = "显示";
constexpr const char* allMonitorsKey = "所有显示器";
}  // namespace

bool playsOnAllMonitors() { return readSetting(settingsFilePath(), displaySection, allMonitorsKey) == "1"; }

void rememberAllMonitors(bool allMonitors)
{
    const std::string path = settingsFilePath();
    if (allMonitors) {
        writeSetting(path, displaySection, allMonitorsKey, "1");
        return;
    }
    WritePrivateProfileStringA(displaySection, allMonitorsKey, nullptr, path.c_str());
    char rest[4] = {};
    if (GetPrivateProfileSectionA(displaySection, rest, sizeof rest, path.c_str()) == 0)
        WritePrivateProfileStringA(displaySection, nullptr, nullptr, path.c_str());
}
