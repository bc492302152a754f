#pragma once
// The borderless window "pmrq" that carries the video: created over the whole primary screen
// (or over all monitors), then moved behind the desktop icons.
#include "platform/program_window.h"
#include "wallpaper/wallpaper_layer_watch.h"

#include <optional>
#include <string>

class PlayerWindow : public ProgramWindow {
public:
    // fileName: what to play; without one, the settings window's edit box at creation.
    // allMonitors: over the virtual screen (all monitors) rather than the primary monitor.
    PlayerWindow(std::optional<std::string> fileName, bool allMonitors);

private:
    WindowFrame frame() const override;
    void onCreated() override;
    void onDestroy() override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onTimer(UINT_PTR timer);
    void onClose();

    std::optional<std::string> fileName_;
    bool allMonitors_;
    std::optional<WallpaperLayerWatch> layerWatch_;  // while the window is embedded
};

// Opens the player window, owned by the settings window, unless one is open already; returns
// after its creation handler has run and it is shown. It covers the primary monitor, or all
// monitors when asked.
void loadPlayerWindow(bool allMonitors);

// Asks the player window to destroy itself from the message loop; nothing when it is gone.
void destroyPlayerWindow();

// After the shell restarted and took the player window with it: opens a new player window,
// playing fileName from the start, embedded in the new desktop. Does nothing while a player
// window is open.
void reloadPlayerWindow(const std::string& fileName, bool allMonitors);

// The player window and the component's host cover the primary monitor, or all monitors, as
// they stand now (after a display change, or when the choice changed).
void fitPlayerWindowToScreen(bool allMonitors);

// The pause-on-battery choice changed in the settings file: every window inside the player
// window, the component's control among them, hears a power status change, on which the
// component reads the choice again. Nothing happens without a player window.
void tellPlayerPowerChoiceChanged();
