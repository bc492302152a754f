#include "component/nv12_picture.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

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

// Eight pixels from eight luma samples and four U,V pairs, all widened to 16 bits.
template <bool aligned>
inline void convertEight(__m128i y, __m128i uv, const YuvCoefficients& k, uint32_t* out)
{
    // Each pair serves two pixels: spread U and V over both 16-bit halves of their 32-bit lane.
    const __m128i u0 = _mm_and_si128(uv, _mm_set1_epi32(0xFFFF));
    const __m128i v0 = _mm_srli_epi32(uv, 16);
    const __m128i bias = _mm_set1_epi16(128);
    const __m128i u = _mm_sub_epi16(_mm_or_si128(u0, _mm_slli_epi32(u0, 16)), bias);
    const __m128i v = _mm_sub_epi16(_mm_or_si128(v0, _mm_slli_epi32(v0, 16)), bias);
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

// Sixteen pixels from sixteen luma samples and eight U,V pairs.
template <bool aligned>
inline void convertSixteen(const uint8_t* luma, const uint8_t* chroma, const YuvCoefficients& k, uint32_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(luma));
    const __m128i uv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chroma));
    convertEight<aligned>(_mm_unpacklo_epi8(y, zero), _mm_unpacklo_epi8(uv, zero), k, out);
    convertEight<aligned>(_mm_unpackhi_epi8(y, zero), _mm_unpackhi_epi8(uv, zero), k, out + 8);
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

Nv12Scaler::Nv12Scaler(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight)
    : pictureWidth_(pictureWidth),
      pictureHeight_(pictureHeight),
      targetWidth_(targetWidth),
      targetHeight_(targetHeight),
      area_(visibleArea(pictureWidth, pictureHeight, targetWidth, targetHeight)),
      columns_(sampleIndices(0, area_.width, targetWidth)),
      rows_(sampleIndices(area_.top, area_.height, targetHeight)),
      rowBuffer_(area_.width)
{
}

bool Nv12Scaler::fits(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight) const
{
    return pictureWidth == pictureWidth_ && pictureHeight == pictureHeight_ && targetWidth == targetWidth_ &&
           targetHeight == targetHeight_;
}

void Nv12Scaler::draw(const Nv12Image& image, const YuvCoefficients& k, const BgraTarget& target)
{
    const int width = std::min(target.width, targetWidth_);
    const int height = std::min(target.height, targetHeight_);
    const bool sameWidth = area_.width == targetWidth_;
    for (int y = 0; y < height; ++y) {
        uint32_t* out = target.pixels + ptrdiff_t(y) * target.stride;
        if (y > 0 && rows_[y] == rows_[y - 1]) {
            std::memcpy(out, out - target.stride, size_t(width) * 4);
        } else if (sameWidth) {
            convertRow<true>(image, k, rows_[y], area_.left, width, out);
        } else {
            convertNv12Row(image, k, rows_[y], area_.left, area_.width, rowBuffer_.data());
            for (int x = 0; x < width; ++x) out[x] = rowBuffer_[columns_[x]];
        }
    }
    _mm_sfence();  // the streamed rows are complete before anyone else reads them
}
