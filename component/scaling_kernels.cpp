#include "component/scaling_kernels.h"

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

void convertPictureRow(const Nv12Image& image, const YuvCoefficients& k, int row, int left, int count, uint32_t* out,
                       Simd simd, bool stream)
{
    if (stream) {
        convertRow<true>(image, k, row, left, count, out, simd);
    } else {
        convertRow<false>(image, k, row, left, count, out, simd);
    }
}

void filterLines(const PairedTaps& taps, const uint8_t* samples, int16_t* first, int16_t* second, Simd simd)
{
    if (simd == Simd::avx2) {
        filterLinePairWide(taps, samples, first, second);
    } else {
        filterLinePair(taps, samples, first, second);
    }
}

void convertFilteredRow(const PairedTaps& lumaRows, const PairedTaps& chromaRows, int output,
                        const int16_t* const* luma, const int16_t* const* u, const int16_t* const* v,
                        const YuvCoefficients& k, int width, uint32_t* out, Simd simd)
{
    if (lumaRows.pairs == 1 && chromaRows.pairs == 1) {
        const RowLerp ly = rowLerp(lumaRows, output, luma), lu = rowLerp(chromaRows, output, u),
                      lv = rowLerp(chromaRows, output, v);
        const int start = simd == Simd::avx2 ? convertLerpedWide(ly, lu, lv, k, width, out) : 0;
        convertBlended([&](int x) { return lerpEight(ly, x); }, [&](int x) { return lerpEight(lu, x); },
                       [&](int x) { return lerpEight(lv, x); }, k, start, width, out);
    } else {
        convertBlended([&](int x) { return blendEight(lumaRows, output, luma, x); },
                       [&](int x) { return blendEight(chromaRows, output, u, x); },
                       [&](int x) { return blendEight(chromaRows, output, v, x); }, k, 0, width, out);
    }
}

void finishStreamedRows() { _mm_sfence(); }
