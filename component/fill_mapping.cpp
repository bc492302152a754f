#include "component/fill_mapping.h"

#include <cstdint>

VisibleArea visibleArea(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight)
{
    VisibleArea area{0, 0, pictureWidth, pictureHeight};
    if (pictureWidth <= 0 || pictureHeight <= 0 || windowWidth <= 0 || windowHeight <= 0)
        return area;
    const int64_t pictureCross = int64_t(pictureWidth) * windowHeight;
    const int64_t windowCross = int64_t(windowWidth) * pictureHeight;
    if (windowCross > pictureCross) {
        // The window is wider: the full width shows, the height is cropped.
        area.height = static_cast<int>((int64_t(windowHeight) * pictureWidth + windowWidth / 2) / windowWidth);
        if (area.height < 1)
            area.height = 1;
        area.top = (pictureHeight - area.height) / 2;
    } else if (windowCross < pictureCross) {
        area.width = static_cast<int>((int64_t(windowWidth) * pictureHeight + windowHeight / 2) / windowHeight);
        if (area.width < 1)
            area.width = 1;
        area.left = (pictureWidth - area.width) / 2;
    }
    return area;
}
