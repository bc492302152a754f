#include "tests/driver/linux_process.h"

#include <windows.h>

#include <cstdio>

namespace kvtest {

std::string readWholeFile(const std::string& path)
{
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

std::string linuxProcessFolder(const std::string& programFolder)
{
    const std::string name = programFolder.substr(programFolder.find_last_of('\\') + 1);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    std::string folder;
    do {
        if (found.cFileName[0] < '1' || found.cFileName[0] > '9')
            continue;
        const std::string candidate = std::string("Z:\\proc\\") + found.cFileName;
        const std::string commandLine = readWholeFile(candidate + "\\cmdline");
        if (commandLine.find(name) != std::string::npos && commandLine.find("kv.exe") != std::string::npos) {
            folder = candidate;
        }
    } while (folder.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return folder;
}

}  // namespace kvtest
