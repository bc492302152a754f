#pragma once
// The borderless window "pmrq" that carries the video: created over the whole primary screen,
// then moved behind the desktop icons.
#include "platform/program_window.h"

class PlayerWindow : public ProgramWindow {
public:
    PlayerWindow();

private:
    WindowFrame frame() const override;
    void onCreated() override;
    void onDestroy() override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Opens the player window, owned by the settings window, unless one is open already; returns
// after its creation handler has run and it is shown.
void loadPlayerWindow();

// Asks the player window to destroy itself from the message loop. When it is gone already this
// is a fatal run-time error and does not return.
void destroyPlayerWindow();
