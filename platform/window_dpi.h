#pragma once
// The DPI a window is shown at and the frame Windows draws around it there. Windows 10 1607
// and later answer per window; before them a program is at most per-monitor aware of the
// first version (Windows 8.1) or system aware (Windows 7), and the system DPI stands.
#include <windows.h>

// The system DPI: the one the stock objects are made for.
UINT systemDpi();

// GetDpiForWindow where Windows has it, the system DPI before.
UINT windowDpi(HWND window);

// What the window's frame adds around a client area at `dpi`: AdjustWindowRectExForDpi of an
// empty rectangle with the window's styles (left and top negative). Without it, the frame at
// the system DPI, which is the one Windows draws there, scaled to `dpi`.
RECT windowFrame(HWND window, UINT dpi);
