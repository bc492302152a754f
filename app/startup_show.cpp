#include "app/startup_show.h"

bool isMinimisedShowCommand(WORD showCommand)
{
    switch (showCommand) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        return true;
    default:
        return false;
    }
}

int settingsWindowShowCommand()
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const bool minimised = (startup.dwFlags & STARTF_USESHOWWINDOW) && isMinimisedShowCommand(startup.wShowWindow);
    return minimised ? SW_SHOWMINNOACTIVE : SW_SHOW;
}
