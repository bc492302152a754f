#pragma once
// Whether the name read from the settings file is played at start-up.
#include <string>

// True when the name is not empty and its last four bytes (the whole name when shorter)
// are ".mp4", ignoring the case of the ASCII letters A-Z only: cameras and our own file
// dialog's pattern "*.MP4" give upper-case names.
bool isRememberedVideo(const std::string& stored);

// True for a remembered video as above, or for a name that is a folder that exists now (its
// videos play in turn), whatever it ends in.
bool isPlayedAtStart(const std::string& stored, bool storedIsFolder);

// Whether the name is a folder that exists now.
bool isExistingFolder(const std::string& name);
