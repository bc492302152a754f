#pragma once
// Whether the wallpaper plays on all monitors: kept in the settings file in a section of its
// own, "显示", key "所有显示器" = "1" while chosen. Not chosen, neither key nor section is
// there, so a settings file that never had it stays as it was.
// True when the settings file holds the choice.
bool playsOnAllMonitors();
// Writes the choice, or removes the key and then the section when nothing else is left in it.
void rememberAllMonitors(bool allMonitors);
