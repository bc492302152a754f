#pragma once
// One run of the simulated desktop shell (bin/fake_shell.exe) for the length of a test: started
// with the layout options, ready once its control window says so, ended when the object goes.
#include "tests/fixtures/fake_shell/shell_protocol.h"

#include <windows.h>

#include <string>

class FakeShellSession {
public:
    explicit FakeShellSession(const std::string& options = "");
    ~FakeShellSession();
    FakeShellSession(const FakeShellSession&) = delete;
    FakeShellSession& operator=(const FakeShellSession&) = delete;

    bool ready() const { return control_ != nullptr; }
    // A window the shell published under that property name, or null.
    HWND window(const char* property) const;
    // How often the desktop program window received 0x052C.
    int spawnRequests() const;
    // Destroys Progman and the WorkerW windows, as a shell restart does; with a delay, a fresh
    // desktop comes back that much later and "TaskbarCreated" is broadcast.
    void restart() const;
    void restart(DWORD comeBackAfterMs) const;
    // How many desktops the shell has built: 1 until a restart comes back.
    int desktops() const;
    // GetTickCount when the shell last broadcast "TaskbarCreated".
    DWORD broadcastTick() const;
    // Shows the hidden wallpaper layer again / destroys it and makes a new one, shown, behind
    // the icon-view owner.
    void showWallpaperLayer() const;
    void recreateWallpaperLayer() const;
    // The same in steps: made, shown on top, and placed behind the icon-view owner that much
    // later; wallpaperLayerPlaced() tells when that happened.
    void recreateWallpaperLayerInSteps(DWORD placeAfterMs) const;
    bool wallpaperLayerPlaced() const;
    // Waits until the classic wallpaper layer is hidden: the program looks at the desktop once
    // more a moment after embedding, in case the shell was still arranging its windows.
    bool wallpaperLayerBecomesHidden() const;
    DWORD processId() const { return process_.dwProcessId; }

private:
    void tell(UINT message, WPARAM wParam, LPARAM lParam) const;

    PROCESS_INFORMATION process_{};
    HWND control_ = nullptr;
};
