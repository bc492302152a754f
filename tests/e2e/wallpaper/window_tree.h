#pragma once
// Reading the window tree as the tests see it: Z-order, parents, visibility.
#include <windows.h>

#include <vector>

// Top-level windows, top of the Z-order first (EnumWindows order).
std::vector<HWND> topLevelWindows();
// Direct children of `parent`, top of the Z-order first.
std::vector<HWND> childWindows(HWND parent);
// Position in the list, or -1 when absent.
int indexOf(const std::vector<HWND>& windows, HWND window);
// The real parent (GetParent gives a popup's owner).
HWND parentOf(HWND window);
