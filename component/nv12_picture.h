#pragma once
// Drawing an NV12 picture into a BGRA pixel block of another size: colour conversion and
// aspect-keeping fill scaling in one pass, SIMD for runs of pixels.
#include <cstdint>
#include <vector>

#include "component/colour_matrix.h"
#include "component/fill_mapping.h"

struct Nv12Image {
    const uint8_t* luma;    // top-left sample of the picture shown
    const uint8_t* chroma;  // the interleaved U,V pair of the top-left sample
    int stride;             // bytes from one row to the next, in both planes
    int width, height;      // size of the picture shown
    bool oddLeft;           // the picture starts at an odd column: its first pixel shares the pair at `chroma` with the column before
};

struct BgraTarget {
    uint32_t* pixels;  // top row first
    int stride;        // in pixels
    int width, height;
};

// Converts `count` pixels of `row`, starting at picture column `left`.
void convertNv12Row(const Nv12Image& image, const YuvCoefficients& k, int row, int left, int count, uint32_t* out);

// The column and row choice for one picture size in one target size, made once per size.
class Nv12Scaler {
public:
    Nv12Scaler(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight);
    bool fits(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight) const;
    void draw(const Nv12Image& image, const YuvCoefficients& k, const BgraTarget& target);

private:
    int pictureWidth_, pictureHeight_, targetWidth_, targetHeight_;
    VisibleArea area_;
    std::vector<int> columns_;  // relative to area_.left
    std::vector<int> rows_;
    std::vector<uint32_t> rowBuffer_;
};
