#include "app/change_interval_setting.h"

#include "app/settings_file.h"

namespace {
constexpr const char* playSection = "播放";
constexpr const char* intervalKey = "换片间隔";
}  // namespace

int intervalMinutes(const std::string& stored)
{
    for (const IntervalChoice& choice : intervalChoices)
        if (stored == std::to_string(choice.minutes))
            return choice.minutes;
    return usualIntervalMinutes;
}

std::optional<std::string> intervalText(int minutes)
{
    if (minutes == usualIntervalMinutes)
        return std::nullopt;
    return std::to_string(minutes);
}

int changeIntervalMinutes() { return intervalMinutes(readSetting(settingsFilePath(), playSection, intervalKey)); }

void rememberChangeInterval(int minutes)
{
    const std::string path = settingsFilePath();
    if (const std::optional<std::string> text = intervalText(minutes))
        writeSetting(path, playSection, intervalKey, *text);
    else
        removeSetting(path, playSection, intervalKey);
}
