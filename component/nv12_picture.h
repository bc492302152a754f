#pragma once
// Drawing an NV12 picture into a BGRA pixel block of another size: colour conversion and
// aspect-keeping fill scaling in one pass, SIMD for runs of pixels. A picture of the block's
// size converts sample for sample; other sizes are filtered (filter_taps.h) on the way: each
// output row blends its source rows of both planes, then each pixel its source columns.
#include <cstdint>
#include <vector>

#include "component/colour_matrix.h"
#include "component/fill_mapping.h"
#include "component/filter_taps.h"

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

// Filter taps with the same count for every output (zero weights fill up), for tight loops.
struct PaddedTaps {
    explicit PaddedTaps(const FilterTaps& taps);
    int perOutput = 0;
    std::vector<int> index;  // perOutput entries for each output
    std::vector<int32_t> weight;
};

// The filter taps for one picture size in one target size, made once per size.
class Nv12Scaler {
public:
    Nv12Scaler(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight);
    bool fits(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight) const;
    void draw(const Nv12Image& image, const YuvCoefficients& k, const BgraTarget& target);

private:
    void fitChromaColumns(bool oddLeft);

    int pictureWidth_, pictureHeight_, targetWidth_, targetHeight_;
    VisibleArea area_;
    bool exact_;               // the visible area is the target's size
    FilterTaps lumaRows_;      // picture rows
    PaddedTaps lumaColumns_;   // relative to area_.left
    FilterTaps chromaRows_;    // chroma rows
    PaddedTaps chromaColumns_{FilterTaps{}};  // relative to firstPair_
    int chromaShift_ = -1;     // the picture's odd left column the chroma columns were made for
    int firstPair_ = 0;        // the U,V pair of the area's left column
    std::vector<uint16_t> lumaLine_;    // one blended row, 7 fraction bits
    std::vector<uint16_t> chromaLine_;  // U,V interleaved
    std::vector<int16_t> filteredLine_; // one output row's Y, then U, then V
};
