#pragma once
// The control's numbered configuration items, all in one table. Hosts set an item with
// SetConfig(item, value) and read it with GetConfig(item), which answers the value as text,
// or "" for an item the control does not know. Values are whole numbers.
//
// | Item | Name | Values | Initial | Meaning                                                  |
// |------|------|--------|---------|----------------------------------------------------------|
// |    8 | loop | 0, 1   | 0       | 1: at the end, seek to the start and go on without a gap  |
// |  119 | mute | 0, 1   | 0       | 1: play without sound (no sound is played yet; kept)      |
//
// Items may be set at any time, also before Open; playback reads them as it goes.
// Item 201 is a figure to read, not to set: 1 while the open file is decoded on the graphics
// card, 0 on the processor or with nothing open.
#include <array>
#include <atomic>
#include <optional>

struct ConfigItemDefinition {
    int number;
    int minimum;
    int maximum;
    int initial;
};

inline constexpr int loopItem = 8;
inline constexpr int muteItem = 119;
inline constexpr int decodingItem = 201;

inline constexpr std::array<ConfigItemDefinition, 2> configItems{{
    {loopItem, 0, 1, 0},
    {muteItem, 0, 1, 0},
}};

// Current values; read from any thread.
class ConfigItems {
public:
    ConfigItems();
    bool set(int item, int value);           // false: unknown item or value out of range
    std::optional<int> get(int item) const;  // empty: unknown item

private:
    std::array<std::atomic<int>, configItems.size()> values_;
};
