#pragma once
// A ticked or unticked play choice of the system menu, kept in the settings file's section
// "播放": its key holds storedText while the tick differs from the usual one, and goes
// otherwise (the section too once it is empty), so a settings file that never had a choice
// stays as it was. The component reads these keys itself when it needs them.
struct PlayChoice {
    const char* key;
    const char* label;       // the menu item's text
    bool usual;              // the tick when the key is absent
    const char* storedText;  // the key's value while the tick is not the usual one
};

// Ticked, videos are decoded by the graphics hardware where it can; unticked, on the processor.
inline constexpr PlayChoice hardwareDecoding{"硬件解码", "硬件解码", true, "0"};
// Ticked, the video pauses while the computer runs on its battery.
inline constexpr PlayChoice pauseOnBattery{"电池暂停", "使用电池时暂停", false, "1"};

// The tick the settings file holds: the unusual one only when the key holds storedText.
bool isTicked(const PlayChoice& choice);
// Writes the key for the unusual tick, or removes it and then the emptied section.
void rememberTick(const PlayChoice& choice, bool ticked);
