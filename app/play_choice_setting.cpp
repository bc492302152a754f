#include "app/play_choice_setting.h"

#include "app/settings_file.h"

#include <string>

namespace {
constexpr const char* playSection = "播放";
}  // namespace

bool isTicked(const PlayChoice& choice)
{
    const bool unusual = readSetting(settingsFilePath(), playSection, choice.key) == choice.storedText;
    return unusual ? !choice.usual : choice.usual;
}

void rememberTick(const PlayChoice& choice, bool ticked)
{
    const std::string path = settingsFilePath();
    if (ticked != choice.usual)
        writeSetting(path, playSection, choice.key, choice.storedText);
    else
        removeSetting(path, playSection, choice.key);
}
