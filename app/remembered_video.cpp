#include "app/remembered_video.h"

#include <windows.h>

#include <cstring>

bool isRememberedVideo(const std::string& stored)
{
    // A match starts with '.', which is never the second byte of a double-byte character, so
    // the three bytes after it are single-byte ones; the C runtime, left in its "C" locale,
    // folds only A-Z and cannot touch a character of the ANSI code page.
    return stored.size() >= 4 && _stricmp(stored.c_str() + stored.size() - 4, ".mp4") == 0;
}

bool isPlayedAtStart(const std::string& stored, bool storedIsFolder)
{
    return isRememberedVideo(stored) || (storedIsFolder && !stored.empty());
}

bool isExistingFolder(const std::string& name)
{
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
