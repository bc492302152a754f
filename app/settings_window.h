#pragma once
// The start-up window: an edit box with the video file's path, a button that picks the file
// through the open-file dialog, and a button that applies it.
#include "platform/program_window.h"

#include <string>

class SettingsWindow : public ProgramWindow {
public:
    SettingsWindow();

private:
    WindowFrame frame() const override;
    void addControls() override;
    void onCreated() override;
    void onClicked(uint32_t componentId) override;
    void onDestroy() override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void onApplyClicked();
    void onBrowseClicked();
    void onShellStarted();
    void onDisplayChanged();

    std::string dialogFileName;   // the dialog's remembered choice; kept across cancels
    std::string appliedFileName;  // the name the last apply played and wrote to the settings file
};

// Loads the settings window as the program's first window; a failure is fatal.
void loadStartupWindow();
