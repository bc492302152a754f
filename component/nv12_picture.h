#pragma once
// Drawing an 8-bit 4:2:0 picture (NV12, or I420 and YV12 with planes of U and V) into a BGRA
// pixel block of another size: colour conversion and
// aspect-keeping fill scaling in one pass, SIMD for runs of pixels. A picture of the block's
// size converts sample for sample; other sizes are filtered (filter_taps.h, paired_taps.h) on
// the way: each source row of both planes is filtered across once, then each output row blends
// its filtered rows and converts them straight into the block. Runs of pixels
// (scaling_kernels.h) take AVX2 where the processor has it, SSE2 otherwise. A picture stored
// on its side is turned upright on the way (rotation.h): its lines are read along the stored
// columns, and it is fitted as upright.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "component/colour_matrix.h"
#include "component/fill_mapping.h"
#include "component/paired_taps.h"
#include "component/rotation.h"

struct Nv12Image {
    const uint8_t* luma;    // top-left sample of the picture shown
    const uint8_t* chroma;  // the interleaved U,V pair of the top-left sample; null when U and V are planes
    int stride;             // bytes from one row to the next, in the luma plane and the interleaved one
    int width, height;      // size of the picture shown
    bool oddLeft;  // the picture starts at an odd column: its first pixel shares the pair at `chroma` with the column
                   // before
    // I420 and YV12: the U and the V sample of the top-left sample, each in a plane of its own.
    // The same picture draws the same pixels in either layout.
    const uint8_t* u = nullptr;
    const uint8_t* v = nullptr;
    int chromaStride = 0;                // of the U and V planes
    Rotation rotation = Rotation::none;  // the turn that makes it upright; width and height are as stored
};

struct BgraTarget {
    uint32_t* pixels;  // top row first
    int stride;        // in pixels
    int width, height;
};

enum class Simd { sse2, avx2 };
Simd widestSimd();  // of this processor

// Converts `count` pixels of `row`, starting at picture column `left`.
void convertNv12Row(const Nv12Image& image, const YuvCoefficients& k, int row, int left, int count, uint32_t* out);

// The filter taps for one picture size (as stored) and turn in one target size, made once per
// size. Each row of the upright picture is filtered across once, into a few rows kept for the
// output rows that blend it.
class Nv12Scaler {
public:
    Nv12Scaler(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight, Simd simd = widestSimd(),
               Rotation rotation = Rotation::none);
    bool fits(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight, Rotation rotation) const;
    void draw(const Nv12Image& image, const YuvCoefficients& k, const BgraTarget& target);

private:
    // Filtered source rows by source row number, each in the slot of its number modulo the
    // slot count: an output row's rows are consecutive and fewer than the slots, so never
    // share one. A chroma slot holds the U line, then the V line.
    struct RowCache {
        RowCache(int slots, int width, int lines)
            : row(size_t(slots), -1),
              samples(size_t(slots) * width * lines),
              width(width),
              lines(lines)
        {}
        int16_t* line(int sourceRow) { return samples.data() + size_t(sourceRow) % row.size() * size_t(width) * lines; }
        std::vector<int> row;
        std::vector<int16_t> samples;  // 6 fraction bits
        int width, lines;
    };
    void fitChromaColumns(bool oddLeft);
    void filterLumaRows(const Nv12Image& image, int even);
    void filterChromaRow(const Nv12Image& image, int row);

    void walkChromaLine(const Nv12Image& image, int row, uint8_t* out) const;

    int pictureWidth_, pictureHeight_, targetWidth_, targetHeight_;  // the picture as stored
    Simd simd_;
    Rotation rotation_;
    PlaneSize upright_;  // the picture's size turned upright: rows and columns below count in it
    VisibleArea area_;
    bool exact_;                // upright, and the visible area is the target's size
    PairedTaps lumaRows_;       // picture rows
    PairedTaps lumaColumns_;    // relative to area_.left
    PairedTaps chromaRows_;     // chroma rows
    PairedTaps chromaColumns_;  // relative to firstPair_
    int chromaShift_ = -1;      // the picture's odd left column the chroma columns were made for
    int firstPair_ = 0;         // the U,V pair of the area's left column
    int pairCount_ = 0;         // U,V pairs the area reaches
    RowCache luma_, chroma_;
    std::vector<uint8_t> interleaved_;  // two luma rows byte by byte, or a chroma row copied for windows wider than it
};
