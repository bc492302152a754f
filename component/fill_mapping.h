#pragma once
// Scaling a picture to fill a window while keeping its aspect: the part of the picture
// that stays visible (the overflow on one axis is cropped evenly from both sides).

struct VisibleArea {
    int left, top, width, height;  // in picture pixels
};

VisibleArea visibleArea(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight);
