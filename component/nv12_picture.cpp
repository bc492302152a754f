#include "component/nv12_picture.h"

#include <algorithm>
#include <cstring>

#include "component/scaling_kernels.h"

namespace {

// `count` samples of an upright line from its sample `from` on, into every other byte of
// `out`. A sample is `sampleBytes` wide in the stored plane (2 for interleaved U,V pairs).
void walkLine(const uint8_t* plane, int stride, int sampleBytes, const LineWalk& walk, int from, int count,
              uint8_t* out)
{
    const ptrdiff_t step = ptrdiff_t(walk.columnStep) * sampleBytes + ptrdiff_t(walk.rowStep) * stride;
    const uint8_t* sample = plane + ptrdiff_t(walk.column) * sampleBytes + ptrdiff_t(walk.row) * stride + from * step;
    for (int i = 0; i < count; ++i, sample += step)
        out[2 * i] = *sample;
}

}  // namespace

void convertNv12Row(const Nv12Image& image, const YuvCoefficients& k, int row, int left, int count, uint32_t* out)
{
    convertPictureRow(image, k, row, left, count, out, Simd::sse2, false);
}

Simd widestSimd()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? Simd::avx2 : Simd::sse2;
}

Nv12Scaler::Nv12Scaler(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight, Simd simd,
                       Rotation rotation)
    : pictureWidth_(pictureWidth),
      pictureHeight_(pictureHeight),
      targetWidth_(targetWidth),
      targetHeight_(targetHeight),
      simd_(simd),
      rotation_(rotation),
      upright_(uprightSize(pictureWidth, pictureHeight, rotation)),
      area_(visibleArea(upright_.width, upright_.height, targetWidth, targetHeight)),
      exact_(rotation == Rotation::none && area_.width == targetWidth && area_.height == targetHeight),
      lumaRows_(filterTaps(area_.top, area_.height, targetHeight, area_.top, area_.top + area_.height - 1), area_.top,
                area_.top + area_.height - 1, 1),
      lumaColumns_(filterTaps(0, area_.width, targetWidth, 0, area_.width - 1), 0, area_.width - 1,
                   PairedTaps::columnGroup),
      chromaRows_(filterTaps(area_.top / 2.0, area_.height / 2.0, targetHeight, area_.top / 2,
                             (area_.top + area_.height - 1) / 2),
                  area_.top / 2, (area_.top + area_.height - 1) / 2, 1),
      // Luma rows are filtered two at a time: room for one more on either side of the window.
      luma_(2 * lumaRows_.pairs + 2, lumaColumns_.outputs, 1),
      chroma_(2 * chromaRows_.pairs, lumaColumns_.outputs, 2),
      // Room for the chroma row too, and for the window's reach past the samples.
      interleaved_(size_t(2 * (std::max(area_.width, upright_.width / 2 + 1) + 2 * lumaColumns_.pairs + 8)), 0)
{}

bool Nv12Scaler::fits(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight, Rotation rotation) const
{
    return pictureWidth == pictureWidth_ && pictureHeight == pictureHeight_ && targetWidth == targetWidth_ &&
           targetHeight == targetHeight_ && rotation == rotation_;
}

void Nv12Scaler::fitChromaColumns(bool oddLeft)
{
    const int shift = oddLeft ? 1 : 0;
    if (chromaShift_ == shift)
        return;
    chromaShift_ = shift;
    // Pair p holds the colour of picture columns 2p - shift and 2p + 1 - shift.
    firstPair_ = (area_.left + shift) / 2;
    const int lastPair = (area_.left + area_.width - 1 + shift) / 2;
    pairCount_ = lastPair - firstPair_ + 1;
    chromaColumns_ = PairedTaps(
        filterTaps((area_.left + shift) / 2.0 - firstPair_, area_.width / 2.0, targetWidth_, 0, lastPair - firstPair_),
        0, lastPair - firstPair_, PairedTaps::columnGroup);
}

// Rows `even` and the one below (or the last again) together, so that each gather serves both.
void Nv12Scaler::filterLumaRows(const Nv12Image& image, int even)
{
    const int last = upright_.height - 1;
    const int odd = std::min(even + 1, last);
    if (rotation_ == Rotation::none) {
        const uint8_t* a = image.luma + ptrdiff_t(even) * image.stride + area_.left;
        const uint8_t* b = image.luma + ptrdiff_t(odd) * image.stride + area_.left;
        interleaveBytes(a, b, area_.width, interleaved_.data());
    } else {
        walkLine(image.luma, image.stride, 1, uprightLine(even, pictureWidth_, pictureHeight_, rotation_), area_.left,
                 area_.width, interleaved_.data());
        walkLine(image.luma, image.stride, 1, uprightLine(odd, pictureWidth_, pictureHeight_, rotation_), area_.left,
                 area_.width, interleaved_.data() + 1);
    }
    filterLines(lumaColumns_, interleaved_.data(), luma_.line(even), luma_.line(even + 1), simd_);
    luma_.row[size_t(even) % luma_.row.size()] = even;
    luma_.row[size_t(even + 1) % luma_.row.size()] = odd == even + 1 ? odd : -1;
}

void Nv12Scaler::filterChromaRow(const Nv12Image& image, int row)
{
    const bool upright = rotation_ == Rotation::none;
    const uint8_t* samples =
        upright && image.chroma ? image.chroma + ptrdiff_t(row) * image.stride + 2 * firstPair_ : nullptr;
    if (!samples || chromaColumns_.spansAll) {
        // Planes and turned pictures are woven into pairs here, as an interleaved row holds
        // them, with room for the loads' reach; a window wider than the row reads zeros past it.
        interleaved_.resize(std::max(interleaved_.size(), size_t(2 * (pairCount_ + 2 * chromaColumns_.pairs + 16))));
        if (chromaColumns_.spansAll)
            std::fill(interleaved_.begin(), interleaved_.end(), 0);
        if (samples) {
            std::memcpy(interleaved_.data(), samples, size_t(2 * pairCount_));
        } else if (upright) {
            const ptrdiff_t start = ptrdiff_t(row) * image.chromaStride + firstPair_;
            interleaveBytes(image.u + start, image.v + start, pairCount_, interleaved_.data());
        } else {
            walkChromaLine(image, row, interleaved_.data());
        }
        samples = interleaved_.data();
    }
    int16_t* u = chroma_.line(row);
    filterLines(chromaColumns_, samples, u, u + chroma_.width, simd_);
    chroma_.row[size_t(row) % chroma_.row.size()] = row;
}

// The U,V pairs of upright chroma row `row` from the area's first pair on, out of a turned picture.
void Nv12Scaler::walkChromaLine(const Nv12Image& image, int row, uint8_t* out) const
{
    const LineWalk walk = uprightLine(row, (pictureWidth_ + 1) / 2, (pictureHeight_ + 1) / 2, rotation_);
    if (image.chroma) {
        walkLine(image.chroma, image.stride, 2, walk, firstPair_, pairCount_, out);
        walkLine(image.chroma + 1, image.stride, 2, walk, firstPair_, pairCount_, out + 1);
    } else {
        walkLine(image.u, image.chromaStride, 1, walk, firstPair_, pairCount_, out);
        walkLine(image.v, image.chromaStride, 1, walk, firstPair_, pairCount_, out + 1);
    }
}

void Nv12Scaler::draw(const Nv12Image& image, const YuvCoefficients& k, const BgraTarget& target)
{
    const int width = std::min(target.width, targetWidth_);
    const int height = std::min(target.height, targetHeight_);
    if (exact_) {
        for (int y = 0; y < height; ++y) {
            convertPictureRow(image, k, area_.top + y, area_.left, width, target.pixels + ptrdiff_t(y) * target.stride,
                              simd_, true);
        }
        finishStreamedRows();
        return;
    }
    // A turned picture's columns come from stored rows: its pairs start at its first column.
    fitChromaColumns(rotation_ == Rotation::none && image.oddLeft);
    // A new picture: nothing filtered yet.
    std::fill(luma_.row.begin(), luma_.row.end(), -1);
    std::fill(chroma_.row.begin(), chroma_.row.end(), -1);
    const int lastLumaRow = area_.top + area_.height - 1;
    const int lastChromaRow = (area_.top + area_.height - 1) / 2;
    std::vector<const int16_t*> lumaRows(size_t(2 * lumaRows_.pairs)), uRows(chroma_.row.size()),
        vRows(chroma_.row.size());
    for (int y = 0; y < height; ++y) {
        for (size_t t = 0; t < lumaRows.size(); ++t) {
            const int row = std::min(lumaRows_.first[size_t(y)] + int(t), lastLumaRow);
            if (luma_.row[size_t(row) % luma_.row.size()] != row)
                filterLumaRows(image, row & ~1);
            lumaRows[t] = luma_.line(row);
        }
        for (size_t t = 0; t < uRows.size(); ++t) {
            const int row = std::min(chromaRows_.first[size_t(y)] + int(t), lastChromaRow);
            if (chroma_.row[size_t(row) % chroma_.row.size()] != row)
                filterChromaRow(image, row);
            uRows[t] = chroma_.line(row);
            vRows[t] = uRows[t] + chroma_.width;
        }
        convertFilteredRow(lumaRows_, chromaRows_, y, lumaRows.data(), uRows.data(), vRows.data(), k, width,
                           target.pixels + ptrdiff_t(y) * target.stride, simd_);
    }
    finishStreamedRows();
}
