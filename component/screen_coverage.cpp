#include "component/screen_coverage.h"

#include <algorithm>

namespace {

bool empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

RECT intersection(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// What is left of `piece` outside `cut`: up to four rectangles, appended to `out`.
void subtract(const RECT& piece, const RECT& cut, std::vector<RECT>& out)
{
    const RECT inside = intersection(piece, cut);
    if (empty(inside)) {
        out.push_back(piece);
        return;
    }
    if (piece.top < inside.top)
        out.push_back(RECT{piece.left, piece.top, piece.right, inside.top});
    if (inside.bottom < piece.bottom)
        out.push_back(RECT{piece.left, inside.bottom, piece.right, piece.bottom});
    if (piece.left < inside.left)
        out.push_back(RECT{piece.left, inside.top, inside.left, inside.bottom});
    if (inside.right < piece.right)
        out.push_back(RECT{inside.right, inside.top, piece.right, inside.bottom});
}

}  // namespace

Coverage coverage(const RECT& part, const RECT& screen, const std::vector<RECT>& windows)
{
    const RECT shown = intersection(part, screen);
    if (empty(shown))
        return Coverage::clear;
    std::vector<RECT> uncovered{shown}, next;
    bool reached = false;
    for (const RECT& window : windows) {
        const RECT cut = intersection(window, shown);
        if (empty(cut))
            continue;
        reached = true;
        next.clear();
        for (const RECT& piece : uncovered)
            subtract(piece, cut, next);
        uncovered.swap(next);
        if (uncovered.empty())
            return Coverage::whole;
    }
    return reached ? Coverage::partly : Coverage::clear;
}
