#include "app/all_monitors_setting.h"

#include "app/settings_file.h"

#include <string>

namespace {
constexpr const char* displaySection = "显示";
constexpr const char* allMonitorsKey = "所有显示器";
}  // namespace

bool playsOnAllMonitors() { return readSetting(settingsFilePath(), displaySection, allMonitorsKey) == "1"; }

void rememberAllMonitors(bool allMonitors)
{
    const std::string path = settingsFilePath();
    if (allMonitors)
        writeSetting(path, displaySection, allMonitorsKey, "1");
    else
        removeSetting(path, displaySection, allMonitorsKey);
}
