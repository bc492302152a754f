#pragma once
// Test helpers around our APlayer.dll: loading it unregistered the way the product does,
// the generated clips, and the control's named calls.
#include <windows.h>

#include <cstdint>
#include <string>

#include "player/automation_object.h"

// <folder of the test program>\<relative>, in the ANSI code page.
std::string besideProgram(const char* relative);

// A clip made by the build, <build>/clips/<name>.
std::string clipPath(const char* name);

// Writes a line of text beside the test program under `name` (an ".mp4" name, yet no video);
// its path, or empty when it cannot be written.
std::string textFileBesideProgram(const char* name);

// The control DLL from <build>/bin/component (or a copy of it elsewhere), loaded for the life
// of the object.
class ComponentLibrary {
public:
    ComponentLibrary();
    explicit ComponentLibrary(const std::string& path);
    ~ComponentLibrary();
    ComponentLibrary(const ComponentLibrary&) = delete;
    ComponentLibrary& operator=(const ComponentLibrary&) = delete;
    bool loaded() const { return module_ != nullptr; }
    // A new control, as IDispatch written into the object (empty on failure).
    AutomationObject create() const;

private:
    HMODULE module_;
};

// Named calls of the control, as the product makes them.
inline int64_t number(const AutomationObject& player, const char* name)
{
    return static_cast<int64_t>(player.invokeNumber(name));
}
inline int64_t setConfig(const AutomationObject& player, int32_t item, int32_t value)
{
    return static_cast<int64_t>(player.invokeNumber("SetConfig", {item, value}));
}
inline void open(const AutomationObject& player, std::string fileName) { player.invoke("Open", {fileName}); }
// Whether the open file is decoded on the graphics card, as the control's item 201 says.
inline bool decodedOnCard(const AutomationObject& player)
{
    int32_t decodingItem = 201;
    return player.invokeText("GetConfig", {decodingItem}) == "1";
}
// Whether this run puts every file on the card's road (KV_CARD_DECODING=force, no failures).
bool cardDecodingForced();

// Playback states the control reports.
enum : int64_t { stateClosed = 0, stateOpening = 1, statePaused = 2, statePlaying = 3, stateEnded = 4 };
