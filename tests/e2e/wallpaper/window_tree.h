#pragma once
// Reading the window tree as the tests see it: Z-order.
#include <windows.h>

#include <vector>

// Top-level windows, top of the Z-order first (EnumWindows order).
std::vector<HWND> topLevelWindows();
// Direct children of `parent`, top of the Z-order first.
std::vector<HWND> childWindows(HWND parent);
