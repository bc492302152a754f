#pragma once
// Which picture layout to ask the decoder for. Its own output types come in its order of
// preference (Windows' decoders put NV12 first, Wine's put I420 first); the first 8-bit 4:2:0
// layout that we draw ourselves is taken as it is, so the platform converts nothing. Only a
// decoder offering none of them gets NV12, converted by the platform.
#include <windows.h>

#include <vector>

enum class PictureLayout { nv12, i420, yv12 };  // i420 also stands for IYUV, the same bytes

struct OutputChoice {
    GUID subtype;          // to ask the Source Reader for
    PictureLayout layout;  // of the pictures it then gives
};

OutputChoice chooseOutput(const std::vector<GUID>& nativeSubtypes);
