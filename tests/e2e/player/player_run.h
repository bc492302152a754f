#pragma once
// One end-to-end run of kv.exe on the simulated desktop shell, with a playback component in
// its program directory (the recording "APlayer.dll" from a fixture folder, or none) and, for
// Wine, the atl.dll shim. The recording component's log beside it tells which named calls
// arrived, in order. Members go in reverse order: kv first, the shell last.
#include <optional>
#include <string>
#include <vector>

#include "tests/driver/kv_driver.h"
#include "tests/e2e/wallpaper/fake_shell_session.h"

struct PlayerRunSetup {
    const char* componentFolder = "recording_component";  // under bin/fixtures; null: no DLL
    const char* mode = nullptr;                           // the component's mode.txt
    std::string rememberedVideo;                          // written to kv.ini when not empty
    std::string shellOptions = {};                        // the simulated shell's layout options
    std::optional<WORD> showCommand = {};                 // kv's start-up show command, if any
};

class PlayerRun {
public:
    explicit PlayerRun(const PlayerRunSetup& setup);

    bool ready() const { return shell.ready() && settings != nullptr && edit != nullptr && applyButton != nullptr; }
    void apply(const std::string& fileName) const;

    // The player window "pmrq" of this run, or null.
    HWND playerWindow() const;
    // The "AtlAxWin" children of the player window.
    std::vector<HWND> hostWindows() const;
    // calls.log, line by line; `named` leaves out the control's own activation lines.
    std::vector<std::string> calls(bool named = true) const;
    // Waits until calls(named) has at least `count` lines; returns them.
    std::vector<std::string> waitForCalls(size_t count, bool named = true) const;
    std::string settingsFile() const;

    FakeShellSession shell;
    kvtest::ProgramDirectory directory;
    std::optional<kvtest::Process> kv;
    HWND settings = nullptr;
    HWND edit = nullptr;
    HWND applyButton = nullptr;
};
