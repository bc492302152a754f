#pragma once
// When a folder's wallpaper changes to its next video: kept in the settings file in a section
// of its own, "播放", key "换片间隔" = the minutes as decimal text, "0" when each video plays to
// its end. The usual 10 minutes is no key at all, nor section when that leaves it empty, so a
// settings file that never had a choice stays as it was. The component reads the key itself.
#include <optional>
#include <string>

struct IntervalChoice {
    int minutes;
    const char* label;  // the menu item's text
};

inline constexpr IntervalChoice intervalChoices[] = {
    {0, "每段播完"}, {1, "1 分钟"}, {5, "5 分钟"}, {10, "10 分钟"}, {30, "30 分钟"}, {60, "1 小时"},
};
inline constexpr int usualIntervalMinutes = 10;

// The choice a stored text names; the usual one for an absent or unknown text.
int intervalMinutes(const std::string& stored);
// The text to store for a choice; none for the usual one, whose key goes.
std::optional<std::string> intervalText(int minutes);

// The choice the settings file holds.
int changeIntervalMinutes();
// Writes the choice, or removes the key and then the emptied section for the usual one.
void rememberChangeInterval(int minutes);
