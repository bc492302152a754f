#include "app/remembered_video.h"

bool isRememberedVideo(const std::string& stored)
{
    const std::string tail = stored.size() < 4 ? stored : stored.substr(stored.size() - 4);
    return !stored.empty() && tail == ".mp4";
}
