#include "component/nv12_picture.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

namespace {

inline uint8_t clampByte(int value) { return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value)); }

// One row of U,V pairs, interleaved or in two planes. Pair p serves picture columns 2p - shift
// and 2p + 1 - shift (shift: 1 when the picture starts at an odd column).
struct PairRow {
    const uint8_t* pairs;  // interleaved, or null
    const uint8_t* u;
    const uint8_t* v;
    int uAt(int p) const { return pairs ? pairs[2 * p] : u[p]; }
    int vAt(int p) const { return pairs ? pairs[2 * p + 1] : v[p]; }
    // Eight pairs from pair p on, as an interleaved row holds them.
    __m128i eight(int p) const
    {
        if (pairs)
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs + 2 * p));
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(u + p)),
                                 _mm_loadl_epi64(reinterpret_cast<const __m128i*>(v + p)));
    }
};

PairRow pairRow(const Nv12Image& image, int row)
{
    if (image.chroma)
        return PairRow{image.chroma + ptrdiff_t(row) * image.stride, nullptr, nullptr};
    return PairRow{nullptr, image.u + ptrdiff_t(row) * image.chromaStride,
                   image.v + ptrdiff_t(row) * image.chromaStride};
}

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

// Two runs of bytes woven into one, a byte of each in turn.
void interleaveBytes(const uint8_t* a, const uint8_t* b, int count, uint8_t* out)
{
    int x = 0;
    for (; x + 16 <= count; x += 16) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
        const __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x), _mm_unpacklo_epi8(p, q));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x + 16), _mm_unpackhi_epi8(p, q));
    }
    for (; x < count; ++x) {
        out[2 * x] = a[x];
        out[2 * x + 1] = b[x];
    }
}

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

// Sixteen pixels from sixteen luma samples and eight interleaved U,V pairs.
template <bool aligned>
inline void convertSixteen(const uint8_t* luma, __m128i uv, const YuvCoefficients& k, uint32_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(luma));
    convertEightPaired<aligned>(_mm_unpacklo_epi8(y, zero), _mm_unpacklo_epi8(uv, zero), k, out);
    convertEightPaired<aligned>(_mm_unpackhi_epi8(y, zero), _mm_unpackhi_epi8(uv, zero), k, out + 8);
}

// The same sixteen pixels in one AVX2 step: eight U,V pairs, each widened over two pixels.
template <bool aligned>
[[gnu::target("avx2")]] inline void convertSixteenWide(__m256i y, __m256i u, __m256i v, const YuvCoefficients& k,
                                                       uint32_t* out)
{
    const __m256i bias = _mm256_set1_epi16(128);
    u = _mm256_sub_epi16(u, bias);
    v = _mm256_sub_epi16(v, bias);
    const __m256i l =
        _mm256_mullo_epi16(_mm256_sub_epi16(y, _mm256_set1_epi16(k.lumaOffset)), _mm256_set1_epi16(k.luma));
    const __m256i round = _mm256_set1_epi16(32);
    __m256i red = _mm256_adds_epi16(_mm256_adds_epi16(l, _mm256_mullo_epi16(v, _mm256_set1_epi16(k.redFromV))), round);
    __m256i green = _mm256_subs_epi16(l, _mm256_mullo_epi16(u, _mm256_set1_epi16(k.greenFromU)));
    green = _mm256_adds_epi16(_mm256_subs_epi16(green, _mm256_mullo_epi16(v, _mm256_set1_epi16(k.greenFromV))), round);
    __m256i blue =
        _mm256_adds_epi16(_mm256_adds_epi16(l, _mm256_mullo_epi16(u, _mm256_set1_epi16(k.blueFromU))), round);
    // Each 128-bit half packs and interleaves its own eight pixels; the halves are put in order at the end.
    const __m256i blueRed = _mm256_packus_epi16(_mm256_srai_epi16(blue, 6), _mm256_srai_epi16(red, 6));
    const __m256i greenAlpha = _mm256_packus_epi16(_mm256_srai_epi16(green, 6), _mm256_set1_epi16(255));
    const __m256i blueGreen = _mm256_unpacklo_epi8(blueRed, greenAlpha);
    const __m256i redAlpha = _mm256_unpackhi_epi8(blueRed, greenAlpha);
    const __m256i low = _mm256_unpacklo_epi16(blueGreen, redAlpha);   // pixels 0-3 and 8-11
    const __m256i high = _mm256_unpackhi_epi16(blueGreen, redAlpha);  // pixels 4-7 and 12-15
    __m256i* target = reinterpret_cast<__m256i*>(out);
    if (aligned) {
        _mm256_stream_si256(target, _mm256_permute2x128_si256(low, high, 0x20));
        _mm256_stream_si256(target + 1, _mm256_permute2x128_si256(low, high, 0x31));
    } else {
        _mm256_storeu_si256(target, _mm256_permute2x128_si256(low, high, 0x20));
        _mm256_storeu_si256(target + 1, _mm256_permute2x128_si256(low, high, 0x31));
    }
}

template <bool aligned>
[[gnu::target("avx2")]] inline void convertSixteenPairedWide(const uint8_t* luma, __m128i pairs,
                                                             const YuvCoefficients& k, uint32_t* out)
{
    const __m256i y = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(luma)));
    const __m256i uv = _mm256_cvtepu8_epi16(pairs);
    const __m256i u = _mm256_and_si256(uv, _mm256_set1_epi32(0xFFFF));
    const __m256i v = _mm256_srli_epi32(uv, 16);
    convertSixteenWide<aligned>(y, _mm256_or_si256(u, _mm256_slli_epi32(u, 16)),
                                _mm256_or_si256(v, _mm256_slli_epi32(v, 16)), k, out);
}

// Pixels from `x` on in runs of sixteen, x + shift even so that each run starts at a pair;
// `out` is pixel x. Returns where the runs stop. `stream`: write around the caches where the
// pixels allow, for rows that go straight into the large picture.
template <bool stream>
int convertRuns(const uint8_t* luma, const PairRow& pairs, int shift, const YuvCoefficients& k, int x, int end,
                uint32_t* out)
{
    if (stream && (reinterpret_cast<uintptr_t>(out) & 15) == 0) {
        for (; x + 16 <= end; x += 16, out += 16)
            convertSixteen<true>(luma + x, pairs.eight((x + shift) / 2), k, out);
    } else {
        for (; x + 16 <= end; x += 16, out += 16)
            convertSixteen<false>(luma + x, pairs.eight((x + shift) / 2), k, out);
    }
    return x;
}

template <bool stream>
[[gnu::target("avx2")]] int convertRunsWide(const uint8_t* luma, const PairRow& pairs, int shift,
                                            const YuvCoefficients& k, int x, int end, uint32_t* out)
{
    if (stream && (reinterpret_cast<uintptr_t>(out) & 31) == 0) {
        for (; x + 16 <= end; x += 16, out += 16)
            convertSixteenPairedWide<true>(luma + x, pairs.eight((x + shift) / 2), k, out);
    } else {
        for (; x + 16 <= end; x += 16, out += 16)
            convertSixteenPairedWide<false>(luma + x, pairs.eight((x + shift) / 2), k, out);
    }
    return x;
}

// Four neighbouring bytes, for the 32-bit lane of one output.
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

// The usual blend of two rows: the heavier one plus the lighter one's difference times its
// weight, in 16 bits (the weight at most a half, doubled to 15 bits, the difference doubled).
struct RowLerp {
    const int16_t* base;
    const int16_t* other;
    int16_t weight;
};

inline RowLerp rowLerp(const PairedTaps& taps, int output, const int16_t* const* rows)
{
    const int16_t* w = taps.weight.data() + size_t(output) * 2;
    const int heavier = w[1] > w[0] ? 1 : 0;
    return RowLerp{rows[heavier], rows[1 - heavier], int16_t(2 * w[1 - heavier])};
}

inline __m128i lerpEight(const RowLerp& l, int x)
{
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l.base + x));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l.other + x));
    const __m128i difference = _mm_sub_epi16(b, a);
    const __m128i sum =
        _mm_add_epi16(a, _mm_mulhi_epi16(_mm_add_epi16(difference, difference), _mm_set1_epi16(l.weight)));
    return _mm_srai_epi16(_mm_add_epi16(sum, _mm_set1_epi16(32)), 6);
}

[[gnu::target("avx2")]] inline __m256i lerpSixteen(const RowLerp& l, int x)
{
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(l.base + x));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(l.other + x));
    const __m256i difference = _mm256_sub_epi16(b, a);
    const __m256i sum =
        _mm256_add_epi16(a, _mm256_mulhi_epi16(_mm256_add_epi16(difference, difference), _mm256_set1_epi16(l.weight)));
    return _mm256_srai_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(32)), 6);
}

// The first sixteen-pixel runs of an output row from blends of two rows of each plane, AVX2.
// Returns where the runs stop.
[[gnu::target("avx2")]] int convertLerpedWide(const RowLerp& y, const RowLerp& u, const RowLerp& v,
                                              const YuvCoefficients& k, int width, uint32_t* out)
{
    int x = 0;
    if ((reinterpret_cast<uintptr_t>(out) & 31) == 0) {
        for (; x + 16 <= width; x += 16)
            convertSixteenWide<true>(lerpSixteen(y, x), lerpSixteen(u, x), lerpSixteen(v, x), k, out + x);
    } else {
        for (; x + 16 <= width; x += 16)
            convertSixteenWide<false>(lerpSixteen(y, x), lerpSixteen(u, x), lerpSixteen(v, x), k, out + x);
    }
    return x;
}

// An output row from `x` on from blends of eight outputs of each plane, streamed where the row allows.
template <class Luma, class U, class V>
void convertBlended(Luma luma, U u, V v, const YuvCoefficients& k, int x, int width, uint32_t* out)
{
    if ((reinterpret_cast<uintptr_t>(out) & 15) == 0) {
        for (; x + 8 <= width; x += 8)
            convertEight<true>(luma(x), u(x), v(x), k, out + x);
    } else {
        for (; x + 8 <= width; x += 8)
            convertEight<false>(luma(x), u(x), v(x), k, out + x);
    }
    if (x < width) {
        uint32_t last[8];
        convertEight<false>(luma(x), u(x), v(x), k, last);
        std::copy(last, last + (width - x), out + x);
    }
}

template <bool stream>
void convertRow(const Nv12Image& image, const YuvCoefficients& k, int row, int left, int count, uint32_t* out,
                Simd simd)
{
    const uint8_t* luma = image.luma + ptrdiff_t(row) * image.stride;
    const PairRow pairs = pairRow(image, row / 2);
    // The U,V pair of picture column x is (x + shift) / 2.
    const int shift = image.oddLeft ? 1 : 0;
    int x = left;
    const int end = left + count;
    if ((x + shift) & 1) {
        const int p = (x + shift) / 2;
        *out++ = convertPixel(luma[x], pairs.uAt(p), pairs.vAt(p), k);
        ++x;
    }
    const int runsEnd = simd == Simd::avx2 ? convertRunsWide<stream>(luma, pairs, shift, k, x, end, out)
                                           : convertRuns<stream>(luma, pairs, shift, k, x, end, out);
    out += runsEnd - x;
    for (x = runsEnd; x < end; ++x) {
        const int p = (x + shift) / 2;
        *out++ = convertPixel(luma[x], pairs.uAt(p), pairs.vAt(p), k);
    }
}

}  // namespace

void convertNv12Row(const Nv12Image& image, const YuvCoefficients& k, int row, int left, int count, uint32_t* out)
{
    convertRow<false>(image, k, row, left, count, out, Simd::sse2);
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

namespace {

// Two lines filtered across at once from their samples interleaved byte by byte, eight outputs
// a step: each pair of taps is four bytes per output (both samples of both lines), whose
// 16-bit lanes hold the first line in the low and the second in the high byte.
void filterLinePair(const PairedTaps& taps, const uint8_t* samples, int16_t* first, int16_t* second)
{
    const __m128i lowBytes = _mm_set1_epi16(0xFF);
    const __m128i round = _mm_set1_epi32(1 << 7);
    const int* from = taps.first.data();
    const int16_t* w = taps.weight.data();
    const GroupLoad* load = taps.load.data();
    for (int x = 0; x < taps.outputs; x += PairedTaps::columnGroup, from += PairedTaps::columnGroup, ++load) {
        __m128i a0 = round, a1 = round, b0 = round, b1 = round;
        for (int p = 0; p < taps.pairs; ++p, w += 2 * PairedTaps::columnGroup) {
            const uint8_t* s = samples + 4 * p;
            __m128i low, high;
            if (*load == GroupLoad::everyOther) {
                low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * from[0]));
                high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * from[0] + 16));
            } else if (*load == GroupLoad::everySample) {
                const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * from[0]));
                const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * from[0] + 2));
                low = _mm_unpacklo_epi16(here, next);
                high = _mm_unpackhi_epi16(here, next);
            } else {
                low = _mm_unpacklo_epi64(_mm_unpacklo_epi32(_mm_cvtsi32_si128(loadQuad(s + 2 * from[0])),
                                                            _mm_cvtsi32_si128(loadQuad(s + 2 * from[1]))),
                                         _mm_unpacklo_epi32(_mm_cvtsi32_si128(loadQuad(s + 2 * from[2])),
                                                            _mm_cvtsi32_si128(loadQuad(s + 2 * from[3]))));
                high = _mm_unpacklo_epi64(_mm_unpacklo_epi32(_mm_cvtsi32_si128(loadQuad(s + 2 * from[4])),
                                                             _mm_cvtsi32_si128(loadQuad(s + 2 * from[5]))),
                                          _mm_unpacklo_epi32(_mm_cvtsi32_si128(loadQuad(s + 2 * from[6])),
                                                             _mm_cvtsi32_si128(loadQuad(s + 2 * from[7]))));
            }
            const __m128i wLow = loadWeights(w), wHigh = loadWeights(w + PairedTaps::columnGroup);
            a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_and_si128(low, lowBytes), wLow));
            a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_and_si128(high, lowBytes), wHigh));
            b0 = _mm_add_epi32(b0, _mm_madd_epi16(_mm_srli_epi16(low, 8), wLow));
            b1 = _mm_add_epi32(b1, _mm_madd_epi16(_mm_srli_epi16(high, 8), wHigh));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(first + x), narrowSums(a0, a1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(second + x), narrowSums(b0, b1));
    }
}

// The same in AVX2, a group of eight outputs a step.
[[gnu::target("avx2")]] void filterLinePairWide(const PairedTaps& taps, const uint8_t* samples, int16_t* first,
                                                int16_t* second)
{
    const __m256i lowBytes = _mm256_set1_epi16(0xFF);
    const __m256i round = _mm256_set1_epi32(1 << 7);
    const int* from = taps.first.data();
    const int16_t* w = taps.weight.data();
    for (int g = 0, x = 0; x < taps.outputs; ++g, x += PairedTaps::columnGroup, from += PairedTaps::columnGroup) {
        const GroupLoad load = taps.load[size_t(g)];
        const __m256i window = load == GroupLoad::shuffled
                                   ? _mm256_broadcastsi128_si256(_mm_loadu_si128(
                                         reinterpret_cast<const __m128i*>(samples + 2 * taps.window[size_t(g)])))
                                   : _mm256_setzero_si256();
        __m256i a = round, b = round;
        for (int p = 0; p < taps.pairs; ++p, w += 2 * PairedTaps::columnGroup) {
            const uint8_t* s = samples + 4 * p;
            __m256i quads;
            if (load == GroupLoad::shuffled) {
                const uint8_t* pick = taps.pick.data() + (size_t(g) * taps.pairs + p) * 32;
                quads = _mm256_shuffle_epi8(window, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pick)));
            } else if (load == GroupLoad::everyOther) {
                quads = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 2 * from[0]));
            } else if (load == GroupLoad::everySample) {
                const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * from[0]));
                const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * from[0] + 2));
                quads = _mm256_set_m128i(_mm_unpackhi_epi16(here, next), _mm_unpacklo_epi16(here, next));
            } else {
                quads =
                    _mm256_setr_epi32(loadQuad(s + 2 * from[0]), loadQuad(s + 2 * from[1]), loadQuad(s + 2 * from[2]),
                                      loadQuad(s + 2 * from[3]), loadQuad(s + 2 * from[4]), loadQuad(s + 2 * from[5]),
                                      loadQuad(s + 2 * from[6]), loadQuad(s + 2 * from[7]));
            }
            const __m256i weights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w));
            a = _mm256_add_epi32(a, _mm256_madd_epi16(_mm256_and_si256(quads, lowBytes), weights));
            b = _mm256_add_epi32(b, _mm256_madd_epi16(_mm256_srli_epi16(quads, 8), weights));
        }
        // Packing works per 128-bit half: the first line's eight outputs come apart, put them together.
        const __m256i sums =
            _mm256_permute4x64_epi64(_mm256_packs_epi32(_mm256_srai_epi32(a, 8), _mm256_srai_epi32(b, 8)), 0xD8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(first + x), _mm256_castsi256_si128(sums));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(second + x), _mm256_extracti128_si256(sums, 1));
    }
}

}  // namespace

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
    filterLines(lumaColumns_, interleaved_.data(), luma_.line(even), luma_.line(even + 1));
    luma_.row[size_t(even) % luma_.row.size()] = even;
    luma_.row[size_t(even + 1) % luma_.row.size()] = odd == even + 1 ? odd : -1;
}

void Nv12Scaler::filterLines(const PairedTaps& taps, const uint8_t* samples, int16_t* first, int16_t* second) const
{
    if (simd_ == Simd::avx2) {
        filterLinePairWide(taps, samples, first, second);
    } else {
        filterLinePair(taps, samples, first, second);
    }
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
            const PairRow pairs = pairRow(image, row);
            interleaveBytes(pairs.u + firstPair_, pairs.v + firstPair_, pairCount_, interleaved_.data());
        } else {
            walkChromaLine(image, row, interleaved_.data());
        }
        samples = interleaved_.data();
    }
    int16_t* u = chroma_.line(row);
    filterLines(chromaColumns_, samples, u, u + chroma_.width);
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
            convertRow<true>(image, k, area_.top + y, area_.left, width, target.pixels + ptrdiff_t(y) * target.stride,
                             simd_);
        }
        _mm_sfence();  // the streamed rows are complete before anyone else reads them
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
        uint32_t* out = target.pixels + ptrdiff_t(y) * target.stride;
        if (lumaRows_.pairs == 1 && chromaRows_.pairs == 1) {
            const RowLerp ly = rowLerp(lumaRows_, y, lumaRows.data()), lu = rowLerp(chromaRows_, y, uRows.data()),
                          lv = rowLerp(chromaRows_, y, vRows.data());
            const int start = simd_ == Simd::avx2 ? convertLerpedWide(ly, lu, lv, k, width, out) : 0;
            convertBlended([&](int x) { return lerpEight(ly, x); }, [&](int x) { return lerpEight(lu, x); },
                           [&](int x) { return lerpEight(lv, x); }, k, start, width, out);
        } else {
            convertBlended([&](int x) { return blendEight(lumaRows_, y, lumaRows.data(), x); },
                           [&](int x) { return blendEight(chromaRows_, y, uRows.data(), x); },
                           [&](int x) { return blendEight(chromaRows_, y, vRows.data(), x); }, k, 0, width, out);
        }
    }
    _mm_sfence();
}
