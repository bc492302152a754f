#include "tests/driver/screen_motion.h"

#include <vector>

#include "tests/driver/kv_driver.h"

namespace kvtest {
namespace {

// A grid of the area's pixels, away from its edges.
std::vector<COLORREF> picture(const RECT& area)
{
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    for (int row = 1; row < 6; ++row)
        for (int column = 1; column < 9; ++column)
            pixels.push_back(GetPixel(screen, area.left + (area.right - area.left) * column / 9,
                                      area.top + (area.bottom - area.top) * row / 6));
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool dark(const std::vector<COLORREF>& pixels)
{
    for (COLORREF colour : pixels)
        if (GetRValue(colour) + GetGValue(colour) + GetBValue(colour) >= 24)
            return false;
    return true;
}

}  // namespace

bool playsOn(const RECT& area, DWORD timeoutMs)
{
    std::vector<COLORREF> shown;
    return waitUntil(
        [&] {
            const std::vector<COLORREF> now = picture(area);
            const bool moved = !shown.empty() && now != shown;
            if (!dark(now))
                shown = now;
            return moved && !dark(now);
        },
        timeoutMs);
}

}  // namespace kvtest
