#pragma once
// Scaling a picture to fill a window while keeping its aspect: the part of the picture
// that stays visible (the overflow on one axis is cropped evenly from both sides) and, for
// every window column and row, the picture column and row it shows (nearest sample).
#include <vector>

struct VisibleArea {
    int left, top, width, height;  // in picture pixels
};

VisibleArea visibleArea(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight);

// For each of `outputs` positions, the source index (0 .. sourceCount-1) it samples.
std::vector<int> sampleIndices(int sourceStart, int sourceCount, int outputs);
