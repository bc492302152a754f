#pragma once
// Whether the file name read from the settings file is played at start-up.
#include <string>

// True when the name is not empty and its last four bytes (the whole name when shorter)
// are ".mp4", ignoring the case of the ASCII letters A-Z only: cameras and our own file
// dialog's pattern "*.MP4" give upper-case names.
bool isRememberedVideo(const std::string& stored);
