#pragma once
// The settings window loaded in the test's own process as kv.exe loads it, with no settings
// file, so nothing is applied; it goes, with all the window layer holds, when the object goes.
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
    InProcessSettingsWindow()
    {
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(sizeof temp, temp);
        processState = ProcessState{};
        processState.programDirectory = std::string(temp) + "kv-no-settings-here";
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
};
