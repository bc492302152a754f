#pragma once
// Where the test program and the fixture DLLs built beside it lie.
#include <windows.h>

#include <string>

inline std::string testBinDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory = path;
    return directory.substr(0, directory.find_last_of('\\'));
}
