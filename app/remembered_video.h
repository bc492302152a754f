#pragma once
// Whether the file name read from the settings file is played at start-up.
#include <string>

// True when the name is not empty and its last four bytes (the whole name when shorter)
// are exactly ".mp4"; the test is case-sensitive.
bool isRememberedVideo(const std::string& stored);
