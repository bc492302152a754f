#pragma once
// The program directory the player tests run in: a folder of its own with the recording
// "APlayer.dll" and the atl.dll shim, and the files through which a test steers and reads
// the recording component (see tests/fixtures/recording_component/fixture_files.h).
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace recording_folder {

inline std::string binDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory = path;
    return directory.substr(0, directory.find_last_of('\\'));
}

inline std::string path() { return binDirectory() + "\\fixtures\\player_unit"; }
inline std::string emptyPath() { return binDirectory() + "\\fixtures\\player_unit_empty"; }

// Copies the component and the shim into the folder; false when a copy fails.
inline bool prepare()
{
    CreateDirectoryA((binDirectory() + "\\fixtures").c_str(), nullptr);
    CreateDirectoryA(path().c_str(), nullptr);
    CreateDirectoryA(emptyPath().c_str(), nullptr);
    const std::string fixtures = binDirectory() + "\\fixtures";
    return CopyFileA((fixtures + "\\recording_component\\APlayer.dll").c_str(), (path() + "\\APlayer.dll").c_str(),
                     FALSE) &&
           CopyFileA((fixtures + "\\atl_shim\\atl.dll").c_str(), (path() + "\\atl.dll").c_str(), FALSE);
}

inline void writeFile(const char* name, const std::string& text)
{
    std::ofstream(path() + "\\" + name, std::ios::binary | std::ios::trunc) << text;
}

inline void reset()
{
    DeleteFileA((path() + "\\calls.log").c_str());
    DeleteFileA((path() + "\\mode.txt").c_str());
    DeleteFileA((path() + "\\replies.txt").c_str());
}

inline void setMode(const char* mode) { writeFile("mode.txt", mode); }
inline void setReplies(const std::string& lines) { writeFile("replies.txt", lines); }

inline std::vector<std::string> calls()
{
    std::ifstream log(path() + "\\calls.log", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace recording_folder
