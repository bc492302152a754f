#include "component/output_layout.h"

#include <mfapi.h>

OutputChoice chooseOutput(const std::vector<GUID>& nativeSubtypes)
{
    for (const GUID& subtype : nativeSubtypes) {
        if (subtype == MFVideoFormat_NV12)
            return OutputChoice{subtype, PictureLayout::nv12};
        if (subtype == MFVideoFormat_I420 || subtype == MFVideoFormat_IYUV)
            return OutputChoice{subtype, PictureLayout::i420};
        if (subtype == MFVideoFormat_YV12)
            return OutputChoice{subtype, PictureLayout::yv12};
    }
    return OutputChoice{MFVideoFormat_NV12, PictureLayout::nv12};
}
