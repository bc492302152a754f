#pragma once
// Splitting the executable's full path into the program directory and the file name.
#include <string>

struct ProgramPath {
    std::string directory;  // before the last backslash, no trailing separator; empty without one
    std::string fileName;   // after the last backslash; the whole path without one
};

// Multibyte-aware in the ANSI code page: the trail byte of a double-byte character (GBK
// trail bytes include 0x5C) is never taken for a backslash.
ProgramPath splitProgramPath(const std::string& path);
