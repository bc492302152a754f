#pragma once
// Whether a part of the screen can be seen past the windows in front of it: the part and
// the windows' rectangles are clipped to the screen, and the part is hidden once what is
// left of it after taking away each window, front first, is nothing.
#include <windows.h>

#include <vector>

enum class Coverage {
    clear,   // no window reaches into the part (or the part is not on the screen)
    partly,  // some of the part is behind windows, some is seen
    whole,   // every pixel of the part is behind some window
};

// `windows` in Z-order, the frontmost first; all rectangles in screen coordinates.
Coverage coverage(const RECT& part, const RECT& screen, const std::vector<RECT>& windows);
