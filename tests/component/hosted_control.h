#pragma once
// Our control hosted the way the product hosts it: an "AtlAxWin" window (here a top-level
// popup at the screen's top-left corner, so Wine draws it) with the control attached, and
// the pixels of the control's window read back.
#include <windows.h>

#include "player/automation_object.h"
#include "tests/component/component_host.h"

class HostedControl {
public:
    HostedControl(const ComponentLibrary& library, int width, int height);
    // Hosts a control made earlier (and perhaps hosted before).
    HostedControl(const AutomationObject& player, int width, int height);
    ~HostedControl();
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;

    bool ready() const { return controlWindow_ != nullptr; }
    const AutomationObject& player() const { return player_; }
    HWND controlWindow() const { return controlWindow_; }
    HWND hostWindow() const { return hostWindow_; }
    COLORREF pixel(int x, int y) const;  // in the control window's client area

private:
    void attach(int width, int height);

    AutomationObject player_;
    HWND hostWindow_ = nullptr;
    HWND controlWindow_ = nullptr;
};
