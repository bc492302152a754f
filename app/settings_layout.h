#pragma once
// The settings window's layout for the DPI it is shown at. At 96 DPI it is the fixed layout: an
// outer size of 294 × 154 and the three controls. At any other DPI the client area and each
// control's left, top, width and height are the 96-DPI ones × DPI / 96, rounded as MulDiv
// rounds, and the frame around the client area is the one Windows draws at that DPI.
#include "platform/program_window.h"

#include <windows.h>

#include <array>

// The outer size at 96 DPI, frame included.
constexpr int settingsOuterWidthAt96 = 294;
constexpr int settingsOuterHeightAt96 = 154;

// The three controls at `dpi`, in creation order, which is their stacking and Tab order.
std::array<ControlLayout, 3> settingsControls(UINT dpi);

// The outer rectangle at `dpi`, centred on a primary screen of that size, in screen
// coordinates. A frame is what AdjustWindowRectEx makes of an empty client rectangle (left and
// top negative), at 96 DPI and at `dpi`.
RECT settingsWindowRect(UINT dpi, const RECT& frameAt96, const RECT& frameAtDpi, int screenWidth, int screenHeight);
