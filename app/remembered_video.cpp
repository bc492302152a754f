#include "app/remembered_video.h"

#include <cstring>

bool isRememberedVideo(const std::string& stored)
{
    // A match starts with '.', which is never the second byte of a double-byte character, so
    // the three bytes after it are single-byte ones; the C runtime, left in its "C" locale,
    // folds only A-Z and cannot touch a character of the ANSI code page.
    return stored.size() >= 4 && _stricmp(stored.c_str() + stored.size() - 4, ".mp4") == 0;
}
