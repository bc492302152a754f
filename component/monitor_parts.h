#pragma once
// A control window that spans several monitors shows the whole picture on each of them: each
// monitor's part of the window is filled on its own (its own size, its own cropping), and what
// no monitor shows is not drawn. The picture counts as seen while any monitor's part of it is.
#include <windows.h>

#include <vector>

#include "component/screen_coverage.h"

// The parts of `window` (screen coordinates) that each monitor shows, in the window's own
// coordinates, in the monitors' order. A window that meets one monitor or none is one part:
// all of it.
std::vector<RECT> monitorParts(const RECT& window, const std::vector<RECT>& monitors);

// How far the windows in front (frontmost first) hide `part` on the monitors: whole only when
// every monitor's share of it is hidden; what lies outside every monitor does not count.
Coverage coverageOnMonitors(const RECT& part, const std::vector<RECT>& monitors, const std::vector<RECT>& windows);

// The system's monitors now, in screen coordinates.
std::vector<RECT> displayMonitors();
