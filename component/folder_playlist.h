#pragma once
// The videos of a folder the control plays in turn: the files directly in it whose extension
// Media Foundation plays, in Explorer's name order, the round starting over after the last.
// Only videosIn() looks at the disk; the rest are plain rules over names.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A folder entry worth trying: a file (not a folder) with a video extension, in any case.
bool isVideoEntry(const std::wstring& name, DWORD attributes);

// Explorer's order: digits as numbers ("2" before "10"), letter case aside.
bool comesBefore(const std::wstring& a, const std::wstring& b);

// The name to play after `current` among `names` (in Explorer's order): the first one after
// it, else the first of all; none when `names` is empty. An empty `current` starts the round.
std::optional<std::wstring> nameAfter(const std::vector<std::wstring>& names, const std::wstring& current);

// The path of `name` in `folder`.
std::wstring inFolder(const std::wstring& folder, const std::wstring& name);

// The video entries directly in `folder`, in Explorer's order.
std::vector<std::wstring> videosIn(const std::wstring& folder);
