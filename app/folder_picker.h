#pragma once
// The folder picker of Windows Vista and later, modal to its owner.
#include <windows.h>

#include <optional>
#include <string>

// The chosen folder's path; none when cancelled, or when the picker cannot be had.
std::optional<std::wstring> pickFolder(HWND owner);
