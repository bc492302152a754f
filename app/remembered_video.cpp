#include "app/remembered_video.h"

namespace {
char asciiLower(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte; }
}  // namespace

bool isRememberedVideo(const std::string& stored)
{
    // A match starts with '.', which is never the second byte of a double-byte character, so
    // the three bytes after it are single-byte ones and folding A-Z cannot touch a character
    // of the ANSI code page.
    const std::string tail = stored.size() < 4 ? stored : stored.substr(stored.size() - 4);
    if (stored.empty() || tail.size() != 4)
        return false;
    static const char extension[] = ".mp4";
    for (size_t i = 0; i < 4; ++i)
        if (asciiLower(tail[i]) != extension[i])
            return false;
    return true;
}
