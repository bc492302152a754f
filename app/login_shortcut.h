#pragma once
// The shortcut "kv 动态壁纸.lnk" in the user's Startup folder that starts this kv.exe at every
// login, minimised, in its own folder. Made and read through the shell's link object; nothing
// goes to the registry.
#include <string>

// True when the paths name the same file (Windows paths compare without regard to case).
bool samePath(const std::wstring& first, const std::wstring& second);

// True when the shortcut exists and starts this very kv.exe.
bool loginShortcutStartsThisProgram();

// Writes the shortcut, replacing one that is there; false when the shell refuses.
bool createLoginShortcut();

// Deletes the shortcut; true when none is left.
bool removeLoginShortcut();
