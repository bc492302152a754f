#pragma once
// The settings window loaded in the test's own process as kv.exe loads it, by default with no
// settings file, so nothing is applied; it goes, with all the window layer holds, when the
// object goes.
// Wine answers WM_GETFONT and WM_GETICON from another process with null: what only they show
// is checked on this window.
#include "app/settings_window.h"
#include "app/window_definitions.h"
#include "platform/process_state.h"
#include "platform/window_ids.h"
#include "platform/window_layer.h"

#include <windows.h>

#include <string>

class InProcessSettingsWindow {
public:
    InProcessSettingsWindow() : InProcessSettingsWindow(noSettingsDirectory()) {}
    explicit InProcessSettingsWindow(const std::string& programDirectory)
    {
        processState = ProcessState{};
        processState.programDirectory = programDirectory;
        if (registerWindowDefinitions()) {
            loadStartupWindow();
            window = loadedWindow(layout::settingsWindow);
        }
    }
    ~InProcessSettingsWindow()
    {
        destroyProgramWindows();
        processState = ProcessState{};
    }
    InProcessSettingsWindow(const InProcessSettingsWindow&) = delete;
    InProcessSettingsWindow& operator=(const InProcessSettingsWindow&) = delete;

    HWND window = nullptr;

private:
    static std::string noSettingsDirectory()
    {
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(sizeof temp, temp);
        return std::string(temp) + "kv-no-settings-here";
    }
};
