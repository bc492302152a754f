#include "component/monitor_parts.h"

std::vector<RECT> monitorParts(const RECT& window, const std::vector<RECT>& monitors)
{
    std::vector<RECT> parts;
    for (const RECT& monitor : monitors) {
        RECT shown{};
        if (IntersectRect(&shown, &window, &monitor)) {
            OffsetRect(&shown, -window.left, -window.top);
            parts.push_back(shown);
        }
    }
    if (parts.size() <= 1)
        return {RECT{0, 0, window.right - window.left, window.bottom - window.top}};
    return parts;
}

Coverage coverageOnMonitors(const RECT& part, const std::vector<RECT>& monitors, const std::vector<RECT>& windows)
{
    bool reached = false;
    bool shown = false;
    for (const RECT& monitor : monitors) {
        RECT share{};
        if (!IntersectRect(&share, &part, &monitor))
            continue;
        const Coverage c = coverage(share, monitor, windows);
        if (c != Coverage::whole)
            shown = true;
        if (c != Coverage::clear)
            reached = true;
    }
    if (!reached)
        return Coverage::clear;
    return shown ? Coverage::partly : Coverage::whole;
}

namespace {
BOOL CALLBACK collectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}
}  // namespace

std::vector<RECT> displayMonitors()
{
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}
