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

// Two neighbouring bytes, for the 16-bit lane of one output.
inline int loadPair(const uint8_t* p)
{
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline int loadQuad(const uint8_t* p)
{
    int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline __m128i loadWeights(const int16_t* w) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(w)); }

// Sums of 14-bit weights to 6 fraction bits, eight outputs.
inline __m128i narrowSums(__m128i low, __m128i high)
{
    return _mm_packs_epi32(_mm_srai_epi32(low, 8), _mm_srai_epi32(high, 8));
}

// Eight outputs of an output row: its source rows (6 fraction bits) blended, rounded to whole.
inline __m128i blendEight(const PairedTaps& taps, int output, const int16_t* const* rows, int x)
{
    const int16_t* w = taps.weight.data() + size_t(output) * taps.pairs * 2;
    const __m128i round = _mm_set1_epi32(1 << 19);
    __m128i low = round, high = round;
    for (int p = 0; p < taps.pairs; ++p, w += 2) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * p] + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * p + 1] + x));
        const __m128i weights = _mm_set1_epi32(int32_t(uint16_t(w[0])) | (int32_t(w[1]) << 16));
        low = _mm_add_epi32(low, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), weights));
        high = _mm_add_epi32(high, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), weights));
    }
    return _mm_packs_epi32(_mm_srai_epi32(low, 20), _mm_srai_epi32(high, 20));
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

PairedTaps::PairedTaps(const FilterTaps& taps, int firstIndex, int lastIndex, int group)
{
    const int count = int(taps.begin.size()) - 1;
    if (count <= 0) return;
    int most = 0;
    for (int i = 0; i < count; ++i) most = std::max(most, taps.begin[i + 1] - taps.begin[i]);
    pairs = (most + 1) / 2;
    const int span = 2 * pairs;
    spansAll = lastIndex - firstIndex + 1 < span;
    outputs = (count + group - 1) / group * group;
    first.resize(size_t(outputs));
    weight.assign(size_t(outputs) * span, 0);
    std::vector<int32_t> w(static_cast<size_t>(span));
    for (int i = 0; i < outputs; ++i) {
        const int o = std::min(i, count - 1);
        const FilterTap* from = taps.taps.data() + taps.begin[o];
        const FilterTap* to = taps.taps.data() + taps.begin[o + 1];
        // The window holds the output's samples (neighbours: clamped repeats are merged) and stays
        // within the samples where they are enough.
        int start = std::min(from->index, lastIndex - span + 1);
        start = std::max(start, firstIndex);
        first[size_t(i)] = start;
        // From 15 bits to 14, the rounding made up on the largest so they still add up to one.
        std::fill(w.begin(), w.end(), 0);
        int32_t sum = 0;
        int largest = 0;
        for (const FilterTap* t = from; t != to; ++t) {
            const int at = t->index - start;
            w[size_t(at)] = (t->weight + 1) >> 1;
            sum += w[size_t(at)];
            if (w[size_t(at)] > w[size_t(largest)]) largest = at;
        }
        w[size_t(largest)] += (kWeightOne >> 1) - sum;
        const int g = i / group, j = i % group;
        for (int p = 0; p < pairs; ++p) {
            int16_t* target = weight.data() + ((size_t(g) * pairs + p) * group + j) * 2;
            target[0] = int16_t(w[size_t(2 * p)]);
            target[1] = int16_t(w[size_t(2 * p + 1)]);
        }
    }
}

namespace {

constexpr int kGroup = 8;  // outputs of a column pass step

}  // namespace

Nv12Scaler::Nv12Scaler(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight)
    : pictureWidth_(pictureWidth),
      pictureHeight_(pictureHeight),
      targetWidth_(targetWidth),
      targetHeight_(targetHeight),
      area_(visibleArea(pictureWidth, pictureHeight, targetWidth, targetHeight)),
      exact_(area_.width == targetWidth && area_.height == targetHeight),
      lumaRows_(filterTaps(area_.top, area_.height, targetHeight, area_.top, area_.top + area_.height - 1), area_.top,
                area_.top + area_.height - 1, 1),
      lumaColumns_(filterTaps(0, area_.width, targetWidth, 0, area_.width - 1), 0, area_.width - 1, kGroup),
      chromaRows_(filterTaps(area_.top / 2.0, area_.height / 2.0, targetHeight, area_.top / 2, (area_.top + area_.height - 1) / 2),
                  area_.top / 2, (area_.top + area_.height - 1) / 2, 1),
      luma_(2 * lumaRows_.pairs, lumaColumns_.outputs),
      u_(2 * chromaRows_.pairs, lumaColumns_.outputs),
      v_(2 * chromaRows_.pairs, lumaColumns_.outputs)
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
    pairCount_ = lastPair - firstPair_ + 1;
    chromaColumns_ = PairedTaps(filterTaps((area_.left + shift) / 2.0 - firstPair_, area_.width / 2.0, targetWidth_, 0, lastPair - firstPair_),
                                0, lastPair - firstPair_, kGroup);
}

// Eight outputs a step, each pair of taps gathered as two neighbouring bytes per output.
void Nv12Scaler::filterLumaRow(const Nv12Image& image, int row, int16_t* out)
{
    const PairedTaps& taps = lumaColumns_;
    const uint8_t* samples = image.luma + ptrdiff_t(row) * image.stride + area_.left;
    if (taps.spansAll) {
        padded_.assign(size_t(area_.width + 2 * taps.pairs), 0);
        std::memcpy(padded_.data(), samples, size_t(area_.width));
        samples = padded_.data();
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_set1_epi32(1 << 7);
    const int* first = taps.first.data();
    const int16_t* w = taps.weight.data();
    for (int x = 0; x < taps.outputs; x += kGroup, first += kGroup) {
        __m128i low = round, high = round;
        for (int p = 0; p < taps.pairs; ++p, w += 2 * kGroup) {
            const uint8_t* s = samples + 2 * p;
            __m128i bytes = _mm_cvtsi32_si128(loadPair(s + first[0]));
            bytes = _mm_insert_epi16(bytes, loadPair(s + first[1]), 1);
            bytes = _mm_insert_epi16(bytes, loadPair(s + first[2]), 2);
            bytes = _mm_insert_epi16(bytes, loadPair(s + first[3]), 3);
            bytes = _mm_insert_epi16(bytes, loadPair(s + first[4]), 4);
            bytes = _mm_insert_epi16(bytes, loadPair(s + first[5]), 5);
            bytes = _mm_insert_epi16(bytes, loadPair(s + first[6]), 6);
            bytes = _mm_insert_epi16(bytes, loadPair(s + first[7]), 7);
            low = _mm_add_epi32(low, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), loadWeights(w)));
            high = _mm_add_epi32(high, _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), loadWeights(w + kGroup)));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), narrowSums(low, high));
    }
}

// Eight outputs a step: each pair of taps is four bytes per output (U, V of both samples),
// whose 16-bit lanes hold U in the low and V in the high byte.
void Nv12Scaler::filterChromaRow(const Nv12Image& image, int row, int16_t* u, int16_t* v)
{
    const PairedTaps& taps = chromaColumns_;
    const uint8_t* samples = image.chroma + ptrdiff_t(row) * image.stride + 2 * firstPair_;
    if (taps.spansAll) {
        padded_.assign(size_t(2 * (pairCount_ + 2 * taps.pairs)), 0);
        std::memcpy(padded_.data(), samples, size_t(2 * pairCount_));
        samples = padded_.data();
    }
    const __m128i lowBytes = _mm_set1_epi16(0xFF);
    const __m128i round = _mm_set1_epi32(1 << 7);
    const int* first = taps.first.data();
    const int16_t* w = taps.weight.data();
    for (int x = 0; x < taps.outputs; x += kGroup, first += kGroup) {
        __m128i u0 = round, u1 = round, v0 = round, v1 = round;
        for (int p = 0; p < taps.pairs; ++p, w += 2 * kGroup) {
            const uint8_t* s = samples + 4 * p;
            const __m128i a = _mm_unpacklo_epi64(_mm_unpacklo_epi32(_mm_cvtsi32_si128(loadQuad(s + 2 * first[0])), _mm_cvtsi32_si128(loadQuad(s + 2 * first[1]))),
                                                 _mm_unpacklo_epi32(_mm_cvtsi32_si128(loadQuad(s + 2 * first[2])), _mm_cvtsi32_si128(loadQuad(s + 2 * first[3]))));
            const __m128i b = _mm_unpacklo_epi64(_mm_unpacklo_epi32(_mm_cvtsi32_si128(loadQuad(s + 2 * first[4])), _mm_cvtsi32_si128(loadQuad(s + 2 * first[5]))),
                                                 _mm_unpacklo_epi32(_mm_cvtsi32_si128(loadQuad(s + 2 * first[6])), _mm_cvtsi32_si128(loadQuad(s + 2 * first[7]))));
            const __m128i wa = loadWeights(w), wb = loadWeights(w + kGroup);
            u0 = _mm_add_epi32(u0, _mm_madd_epi16(_mm_and_si128(a, lowBytes), wa));
            u1 = _mm_add_epi32(u1, _mm_madd_epi16(_mm_and_si128(b, lowBytes), wb));
            v0 = _mm_add_epi32(v0, _mm_madd_epi16(_mm_srli_epi16(a, 8), wa));
            v1 = _mm_add_epi32(v1, _mm_madd_epi16(_mm_srli_epi16(b, 8), wb));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(u + x), narrowSums(u0, u1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v + x), narrowSums(v0, v1));
    }
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
    // A new picture: nothing filtered yet.
    std::fill(luma_.row.begin(), luma_.row.end(), -1);
    std::fill(u_.row.begin(), u_.row.end(), -1);
    const int lastLumaRow = area_.top + area_.height - 1;
    const int lastChromaRow = (area_.top + area_.height - 1) / 2;
    std::vector<const int16_t*> lumaRows(luma_.row.size()), uRows(u_.row.size()), vRows(v_.row.size());
    for (int y = 0; y < height; ++y) {
        for (size_t t = 0; t < lumaRows.size(); ++t) {
            const int row = std::min(lumaRows_.first[size_t(y)] + int(t), lastLumaRow);
            const size_t slot = size_t(row) % luma_.row.size();
            int16_t* samples = luma_.samples.data() + slot * size_t(luma_.width);
            if (luma_.row[slot] != row) {
                filterLumaRow(image, row, samples);
                luma_.row[slot] = row;
            }
            lumaRows[t] = samples;
        }
        for (size_t t = 0; t < uRows.size(); ++t) {
            const int row = std::min(chromaRows_.first[size_t(y)] + int(t), lastChromaRow);
            const size_t slot = size_t(row) % u_.row.size();
            int16_t* us = u_.samples.data() + slot * size_t(u_.width);
            int16_t* vs = v_.samples.data() + slot * size_t(v_.width);
            if (u_.row[slot] != row) {
                filterChromaRow(image, row, us, vs);
                u_.row[slot] = row;
            }
            uRows[t] = us;
            vRows[t] = vs;
        }
        uint32_t* out = target.pixels + ptrdiff_t(y) * target.stride;
        const bool stream = (reinterpret_cast<uintptr_t>(out) & 15) == 0;
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            const __m128i ys = blendEight(lumaRows_, y, lumaRows.data(), x);
            const __m128i us = blendEight(chromaRows_, y, uRows.data(), x);
            const __m128i vs = blendEight(chromaRows_, y, vRows.data(), x);
            if (stream) {
                convertEight<true>(ys, us, vs, k, out + x);
            } else {
                convertEight<false>(ys, us, vs, k, out + x);
            }
        }
        if (x < width) {
            uint32_t last[8];
            convertEight<false>(blendEight(lumaRows_, y, lumaRows.data(), x), blendEight(chromaRows_, y, uRows.data(), x),
                                blendEight(chromaRows_, y, vRows.data(), x), k, last);
            std::copy(last, last + (width - x), out + x);
        }
    }
    _mm_sfence();
}
