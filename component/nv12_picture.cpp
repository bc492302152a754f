#include "component/nv12_picture.h"

#include <emmintrin.h>

#include <algorithm>

namespace {

inline uint8_t clampByte(int value) { return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value)); }

// The same arithmetic as the SIMD lanes: products and sums in 16 bits, 6 fraction bits.
inline uint32_t convertPixel(int y, int u, int v, const YuvCoefficients& k)
{
    const int luma = (y - k.lumaOffset) * k.luma;
    u -= 128;
    v -= 128;
    const int red = (luma + k.redFromV * v + 32) >> 6;
    const int green = (luma - k.greenFromU * u - k.greenFromV * v + 32) >> 6;
    const int blue = (luma + k.blueFromU * u + 32) >> 6;
    return 0xFF000000u | (uint32_t(clampByte(red)) << 16) | (uint32_t(clampByte(green)) << 8) | clampByte(blue);
}

// Eight pixels from eight luma, U and V samples, all widened to 16 bits.
template <bool aligned>
inline void convertEight(__m128i y, __m128i u, __m128i v, const YuvCoefficients& k, uint32_t* out)
{
    const __m128i bias = _mm_set1_epi16(128);
    u = _mm_sub_epi16(u, bias);
    v = _mm_sub_epi16(v, bias);
    const __m128i l = _mm_mullo_epi16(_mm_sub_epi16(y, _mm_set1_epi16(k.lumaOffset)), _mm_set1_epi16(k.luma));
    const __m128i round = _mm_set1_epi16(32);
    __m128i red = _mm_adds_epi16(_mm_adds_epi16(l, _mm_mullo_epi16(v, _mm_set1_epi16(k.redFromV))), round);
    __m128i green = _mm_subs_epi16(l, _mm_mullo_epi16(u, _mm_set1_epi16(k.greenFromU)));
    green = _mm_adds_epi16(_mm_subs_epi16(green, _mm_mullo_epi16(v, _mm_set1_epi16(k.greenFromV))), round);
    __m128i blue = _mm_adds_epi16(_mm_adds_epi16(l, _mm_mullo_epi16(u, _mm_set1_epi16(k.blueFromU))), round);
    red = _mm_srai_epi16(red, 6);
    green = _mm_srai_epi16(green, 6);
    blue = _mm_srai_epi16(blue, 6);
    const __m128i r8 = _mm_packus_epi16(red, red);
    const __m128i g8 = _mm_packus_epi16(green, green);
    const __m128i b8 = _mm_packus_epi16(blue, blue);
    const __m128i blueGreen = _mm_unpacklo_epi8(b8, g8);
    const __m128i redAlpha = _mm_unpacklo_epi8(r8, _mm_set1_epi8(-1));
    __m128i* target = reinterpret_cast<__m128i*>(out);
    if (aligned) {
        // The picture is far larger than the caches and is next read by the blit: bypass them.
        _mm_stream_si128(target, _mm_unpacklo_epi16(blueGreen, redAlpha));
        _mm_stream_si128(target + 1, _mm_unpackhi_epi16(blueGreen, redAlpha));
    } else {
        _mm_storeu_si128(target, _mm_unpacklo_epi16(blueGreen, redAlpha));
        _mm_storeu_si128(target + 1, _mm_unpackhi_epi16(blueGreen, redAlpha));
    }
}

// Eight pixels from eight luma samples and four U,V pairs: each pair serves two pixels, so U
// and V are spread over both 16-bit halves of their 32-bit lane.
template <bool aligned>
inline void convertEightPaired(__m128i y, __m128i uv, const YuvCoefficients& k, uint32_t* out)
{
    const __m128i u = _mm_and_si128(uv, _mm_set1_epi32(0xFFFF));
    const __m128i v = _mm_srli_epi32(uv, 16);
    convertEight<aligned>(y, _mm_or_si128(u, _mm_slli_epi32(u, 16)), _mm_or_si128(v, _mm_slli_epi32(v, 16)), k, out);
}

// Sixteen pixels from sixteen luma samples and eight U,V pairs.
template <bool aligned>
inline void convertSixteen(const uint8_t* luma, const uint8_t* chroma, const YuvCoefficients& k, uint32_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(luma));
    const __m128i uv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chroma));
    convertEightPaired<aligned>(_mm_unpacklo_epi8(y, zero), _mm_unpacklo_epi8(uv, zero), k, out);
    convertEightPaired<aligned>(_mm_unpackhi_epi8(y, zero), _mm_unpackhi_epi8(uv, zero), k, out + 8);
}

// The filter's outputs over one line of samples (7 fraction bits), rounded to whole. `Taps`
// is the padded count when known while compiling (0: read it from `taps`).
template <int Taps>
void filterLine(const PaddedTaps& taps, const uint16_t* line, int spacing, int count, int16_t* out)
{
    const int n = Taps ? Taps : taps.perOutput;
    const int* index = taps.index.data();
    const int32_t* weight = taps.weight.data();
    for (int i = 0; i < count; ++i, index += n, weight += n) {
        int32_t sum = 1 << 21;
        for (int t = 0; t < n; ++t) sum += weight[t] * line[index[t] * spacing];
        out[i] = static_cast<int16_t>(sum >> 22);
    }
}

void filterLine(const PaddedTaps& taps, const uint16_t* line, int spacing, int count, int16_t* out)
{
    if (taps.perOutput == 2) {
        filterLine<2>(taps, line, spacing, count, out);
    } else if (taps.perOutput == 3) {
        filterLine<3>(taps, line, spacing, count, out);
    } else {
        filterLine<0>(taps, line, spacing, count, out);
    }
}

// The weighted sum of source rows, byte by byte: 7 fraction bits kept for the horizontal pass.
void blendRows(const FilterTaps& f, int output, const uint8_t* plane, int stride, int from, int count, uint16_t* out)
{
    const int first = f.begin[output], last = f.begin[output + 1];
    int x = 0;
    const __m128i zero = _mm_setzero_si128();
    for (; x + 16 <= count; x += 16) {
        __m128i low = zero, high = zero;
        for (int t = first; t < last; ++t) {
            const uint8_t* row = plane + ptrdiff_t(f.taps[t].index) * stride + from + x;
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row));
            const __m128i weight = _mm_set1_epi16(static_cast<int16_t>(f.taps[t].weight));
            // Each byte in the high half of its lane is p << 8; times the weight over 2^16: p * w / 256.
            low = _mm_add_epi16(low, _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, bytes), weight));
            high = _mm_add_epi16(high, _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, bytes), weight));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 8), high);
    }
    for (; x < count; ++x) {
        uint32_t sum = 0;
        for (int t = first; t < last; ++t) {
            const uint32_t p = plane[ptrdiff_t(f.taps[t].index) * stride + from + x];
            sum += ((p << 8) * uint32_t(f.taps[t].weight)) >> 16;
        }
        out[x] = static_cast<uint16_t>(sum);
    }
}

}  // namespace

namespace {

// `stream`: write around the caches, for rows that go straight into the large picture.
template <bool stream>
void convertRow(const Nv12Image& image, const YuvCoefficients& k, int row, int left, int count, uint32_t* out)
{
    const uint8_t* luma = image.luma + ptrdiff_t(row) * image.stride;
    const uint8_t* chroma = image.chroma + ptrdiff_t(row / 2) * image.stride;
    // The U,V pair of picture column x starts at (x + shift) rounded down to even.
    const int shift = image.oddLeft ? 1 : 0;
    int x = left;
    const int end = left + count;
    if ((x + shift) & 1) {
        const uint8_t* pair = chroma + ((x + shift) & ~1);
        *out++ = convertPixel(luma[x], pair[0], pair[1], k);
        ++x;
    }
    if (stream && (reinterpret_cast<uintptr_t>(out) & 15) == 0) {
        for (; x + 16 <= end; x += 16, out += 16) convertSixteen<true>(luma + x, chroma + x + shift, k, out);
    } else {
        for (; x + 16 <= end; x += 16, out += 16) convertSixteen<false>(luma + x, chroma + x + shift, k, out);
    }
    for (; x < end; ++x) {
        const uint8_t* pair = chroma + ((x + shift) & ~1);
        *out++ = convertPixel(luma[x], pair[0], pair[1], k);
    }
}

}  // namespace

void convertNv12Row(const Nv12Image& image, const YuvCoefficients& k, int row, int left, int count, uint32_t* out)
{
    convertRow<false>(image, k, row, left, count, out);
}

PaddedTaps::PaddedTaps(const FilterTaps& taps)
{
    for (size_t i = 0; i + 1 < taps.begin.size(); ++i) perOutput = std::max(perOutput, taps.begin[i + 1] - taps.begin[i]);
    for (size_t i = 0; i + 1 < taps.begin.size(); ++i) {
        int t = taps.begin[i];
        for (; t < taps.begin[i + 1]; ++t) {
            index.push_back(taps.taps[t].index);
            weight.push_back(taps.taps[t].weight);
        }
        for (; t < taps.begin[i] + perOutput; ++t) {
            index.push_back(taps.taps[taps.begin[i]].index);
            weight.push_back(0);
        }
    }
}

Nv12Scaler::Nv12Scaler(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight)
    : pictureWidth_(pictureWidth),
      pictureHeight_(pictureHeight),
      targetWidth_(targetWidth),
      targetHeight_(targetHeight),
      area_(visibleArea(pictureWidth, pictureHeight, targetWidth, targetHeight)),
      exact_(area_.width == targetWidth && area_.height == targetHeight),
      lumaRows_(filterTaps(area_.top, area_.height, targetHeight, area_.top, area_.top + area_.height - 1)),
      lumaColumns_(filterTaps(0, area_.width, targetWidth, 0, area_.width - 1)),
      chromaRows_(filterTaps(area_.top / 2.0, area_.height / 2.0, targetHeight, area_.top / 2,
                             (area_.top + area_.height - 1) / 2)),
      lumaLine_(area_.width),
      filteredLine_(size_t(targetWidth) * 3)
{
}

bool Nv12Scaler::fits(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight) const
{
    return pictureWidth == pictureWidth_ && pictureHeight == pictureHeight_ && targetWidth == targetWidth_ &&
           targetHeight == targetHeight_;
}

void Nv12Scaler::fitChromaColumns(bool oddLeft)
{
    const int shift = oddLeft ? 1 : 0;
    if (chromaShift_ == shift) return;
    chromaShift_ = shift;
    // Pair p holds the colour of picture columns 2p - shift and 2p + 1 - shift.
    firstPair_ = (area_.left + shift) / 2;
    const int lastPair = (area_.left + area_.width - 1 + shift) / 2;
    chromaColumns_ = PaddedTaps(filterTaps((area_.left + shift) / 2.0 - firstPair_, area_.width / 2.0, targetWidth_, 0, lastPair - firstPair_));
    chromaLine_.assign(size_t(lastPair - firstPair_ + 1) * 2, 0);
}

void Nv12Scaler::draw(const Nv12Image& image, const YuvCoefficients& k, const BgraTarget& target)
{
    const int width = std::min(target.width, targetWidth_);
    const int height = std::min(target.height, targetHeight_);
    if (exact_) {
        for (int y = 0; y < height; ++y) {
            convertRow<true>(image, k, area_.top + y, area_.left, width, target.pixels + ptrdiff_t(y) * target.stride);
        }
        _mm_sfence();  // the streamed rows are complete before anyone else reads them
        return;
    }
    fitChromaColumns(image.oddLeft);
    for (int y = 0; y < height; ++y) {
        uint32_t* out = target.pixels + ptrdiff_t(y) * target.stride;
        blendRows(lumaRows_, y, image.luma, image.stride, area_.left, area_.width, lumaLine_.data());
        blendRows(chromaRows_, y, image.chroma, image.stride, firstPair_ * 2, int(chromaLine_.size()), chromaLine_.data());
        int16_t* ys = filteredLine_.data();
        int16_t* us = ys + targetWidth_;
        int16_t* vs = us + targetWidth_;
        filterLine(lumaColumns_, lumaLine_.data(), 1, width, ys);
        filterLine(chromaColumns_, chromaLine_.data(), 2, width, us);
        filterLine(chromaColumns_, chromaLine_.data() + 1, 2, width, vs);
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            convertEight<false>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(ys + x)),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(us + x)),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(vs + x)), k, out + x);
        }
        for (; x < width; ++x) out[x] = convertPixel(ys[x], us[x], vs[x], k);
    }
}
