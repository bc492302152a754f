// Filtered scaling against a plain reference of the same filters in floating point: bilinear
// when enlarging, area averaging when reducing, each plane on its own grid (a U,V pair serves
// two columns and two rows). The conversion is set up to pass one plane through unchanged, so
// every output channel is one filtered sample and must be within 1 of the reference.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "component/colour_matrix.h"
#include "component/fill_mapping.h"
#include "component/nv12_picture.h"
#include "tests/component/test_names.h"

namespace {

// Weights of source samples for output `i` of `outputs` over the source run [start, start + length).
std::vector<std::pair<int, double>> referenceWeights(double start, double length, int outputs, int i, int first,
                                                     int last)
{
    auto clampIndex = [&](double k) { return int(std::min<double>(std::max<double>(k, first), last)); };
    const double step = length / outputs;
    std::vector<std::pair<int, double>> weights;
    if (step <= 1) {
        const double centre = start + (i + 0.5) * step - 0.5;
        const double below = std::floor(centre);
        weights.push_back({clampIndex(below), 1 - (centre - below)});
        weights.push_back({clampIndex(below + 1), centre - below});
    } else {
        const double from = start + i * step, to = from + step;
        for (double k = std::floor(from); k < to; ++k) {
            weights.push_back({clampIndex(k), (std::min(to, k + 1) - std::max(from, k)) / step});
        }
    }
    return weights;
}

double referenceSample(const uint8_t* plane, int stride, int spacing, const std::vector<std::pair<int, double>>& rows,
                       const std::vector<std::pair<int, double>>& columns)
{
    double sum = 0;
    for (const auto& r : rows) {
        for (const auto& c : columns)
            sum += r.second * c.second * plane[ptrdiff_t(r.first) * stride + c.first * spacing];
    }
    return sum;
}

struct Picture {
    Picture(int width, int height, bool oddLeft, uint32_t seed) : stride((width + 1 + 15) / 16 * 16 + 16)
    {
        // Random samples: the hardest case for rounding. One spare column on the left makes an odd start possible.
        std::mt19937 random(seed);
        const int rows = height + 2;
        luma.resize(size_t(stride) * rows);
        chroma.resize(size_t(stride) * rows);
        for (auto& b : luma)
            b = uint8_t(random());
        for (auto& b : chroma)
            b = uint8_t(128 + random() % 128);  // U - 128 and V - 128 stay positive
        const int left = oddLeft ? 1 : 0;
        image = Nv12Image{luma.data() + left, chroma.data(), stride, width, height, oddLeft};
    }
    int stride;
    std::vector<uint8_t> luma, chroma;
    Nv12Image image;
};

// The conversion passing luma through as grey, or U and V through as blue and red (less 128).
const YuvCoefficients lumaThrough{0, 64, 0, 0, 0, 0};
const YuvCoefficients chromaThrough{0, 0, 64, 0, 0, 64};

struct Size {
    int pictureWidth, pictureHeight, targetWidth, targetHeight;
    bool oddLeft;
};

void expectMatchesReference(const Size& s, Simd simd)
{
    Picture picture(s.pictureWidth, s.pictureHeight, s.oddLeft, uint32_t(s.pictureWidth * 7919 + s.targetWidth));
    const VisibleArea area = visibleArea(s.pictureWidth, s.pictureHeight, s.targetWidth, s.targetHeight);
    Nv12Scaler scaler(s.pictureWidth, s.pictureHeight, s.targetWidth, s.targetHeight, simd);
    std::vector<uint32_t> grey(size_t(s.targetWidth) * s.targetHeight), colour(grey.size());
    scaler.draw(picture.image, lumaThrough, BgraTarget{grey.data(), s.targetWidth, s.targetWidth, s.targetHeight});
    scaler.draw(picture.image, chromaThrough, BgraTarget{colour.data(), s.targetWidth, s.targetWidth, s.targetHeight});

    const int shift = s.oddLeft ? 1 : 0;
    const int firstPair = (area.left + shift) / 2, lastPair = (area.left + area.width - 1 + shift) / 2;
    const uint8_t* chroma = picture.image.chroma;
    int worst = 0;
    for (int y = 0; y < s.targetHeight; ++y) {
        const auto lumaRows =
            referenceWeights(area.top, area.height, s.targetHeight, y, area.top, area.top + area.height - 1);
        const auto chromaRows = referenceWeights(area.top / 2.0, area.height / 2.0, s.targetHeight, y, area.top / 2,
                                                 (area.top + area.height - 1) / 2);
        for (int x = 0; x < s.targetWidth; ++x) {
            const auto lumaColumns =
                referenceWeights(area.left, area.width, s.targetWidth, x, area.left, area.left + area.width - 1);
            const auto chromaColumns =
                referenceWeights((area.left + shift) / 2.0, area.width / 2.0, s.targetWidth, x, firstPair, lastPair);
            const double l = referenceSample(picture.image.luma, picture.stride, 1, lumaRows, lumaColumns);
            const double u = referenceSample(chroma, picture.stride, 2, chromaRows, chromaColumns) - 128;
            const double v = referenceSample(chroma + 1, picture.stride, 2, chromaRows, chromaColumns) - 128;
            const uint32_t g = grey[size_t(y) * s.targetWidth + x], c = colour[size_t(y) * s.targetWidth + x];
            const double differences[] = {
                std::fabs(int((g >> 16) & 0xFF) - l), std::fabs(int((g >> 8) & 0xFF) - l), std::fabs(int(g & 0xFF) - l),
                std::fabs(int((c >> 16) & 0xFF) - v), std::fabs(int(c & 0xFF) - u),
            };
            for (double d : differences)
                worst = std::max(worst, int(std::ceil(d - 1e-9)));
        }
    }
    EXPECT_LE(worst, 1) << s.pictureWidth << "x" << s.pictureHeight << (s.oddLeft ? " (odd left)" : "") << " in "
                        << s.targetWidth << "x" << s.targetHeight;
}

// Asked of the processor here, not of the scaler: a scaler that missed AVX2 would skip its own tests.
bool processorHasAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

// Every way of drawing this processor has: SSE2 always, AVX2 where it exists.
class FilteredScaling : public testing::TestWithParam<Simd> {
protected:
    void SetUp() override
    {
        if (GetParam() == Simd::avx2 && !processorHasAvx2())
            GTEST_SKIP() << "this processor has no AVX2";
    }
};

// A picture whose buffer ends with its last chroma sample, at a page that may not be read.
class PictureAtPageEnd {
public:
    PictureAtPageEnd(int width, int height) : stride_((width + 1) & ~1)
    {
        const size_t bytes = size_t(stride_) * (height + (height + 1) / 2);
        const size_t pages = (bytes + 4095) / 4096 + 1;
        memory_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, pages * 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD before = 0;
        VirtualProtect(memory_ + (pages - 1) * 4096, 4096, PAGE_NOACCESS, &before);
        uint8_t* start = memory_ + (pages - 1) * 4096 - bytes;
        for (size_t i = 0; i < bytes; ++i)
            start[i] = uint8_t(16 + i % 200);
        image = Nv12Image{start, start + size_t(stride_) * height, stride_, width, height, false};
    }
    ~PictureAtPageEnd() { VirtualFree(memory_, 0, MEM_RELEASE); }
    PictureAtPageEnd(const PictureAtPageEnd&) = delete;
    PictureAtPageEnd& operator=(const PictureAtPageEnd&) = delete;
    Nv12Image image{};

private:
    int stride_;
    uint8_t* memory_ = nullptr;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(EachSimd, FilteredScaling, testing::Values(Simd::sse2, Simd::avx2), simdName);

TEST_P(FilteredScaling, WithinOneOfTheReferenceEnlargingAndReducingEdgesAndOddSizesIncluded)
{
    const Size sizes[] = {
        {1280, 720, 1920, 1080, false},  // 720p on a 1080p screen
        {33, 17, 50, 29, false},         // odd sizes, enlarged
        {7, 5, 64, 40, false},           // enlarged many times: the edges clamp
        {64, 36, 96, 54, true},          // odd left column
        {101, 57, 40, 23, false},        // odd sizes, reduced
        {96, 54, 64, 36, true},          // reduced by one and a half
        {320, 180, 17, 9, false},        // reduced many times
        {160, 120, 90, 50, false},       // another shape: top and bottom cropped
        {90, 160, 50, 50, false},        // sides cropped
        {200, 100, 150, 120, false},     // narrower and taller: one axis reduced, the other enlarged
        {256, 144, 128, 72, false},      // halved: luma columns two apart, chroma columns one for one
        {256, 144, 128, 72, true},       // halved from an odd column: chroma between its columns
    };
    for (const Size& s : sizes)
        expectMatchesReference(s, GetParam());
}

TEST_P(FilteredScaling, ReadsNothingPastTheLastSampleOfThePicture)
{
    const Size sizes[] = {{1280, 720, 1920, 1080, false},
                          {1920, 1080, 1920, 1080, false},
                          {33, 17, 50, 29, false},
                          {40, 24, 60, 36, false},
                          {101, 57, 40, 23, false}};
    for (const Size& s : sizes) {
        PictureAtPageEnd picture(s.pictureWidth, s.pictureHeight);
        std::vector<uint32_t> out(size_t(s.targetWidth) * s.targetHeight, 0);
        Nv12Scaler scaler(s.pictureWidth, s.pictureHeight, s.targetWidth, s.targetHeight, GetParam());
        scaler.draw(picture.image, yuvCoefficients(YuvMatrix::bt709, false),
                    BgraTarget{out.data(), s.targetWidth, s.targetWidth, s.targetHeight});
        EXPECT_NE(out.back(), 0u) << s.pictureWidth << "x"
                                  << s.pictureHeight;  // drawn to the last pixel, no fault on the way
    }
}

TEST_P(FilteredScaling, ReducingByTwoAveragesEachSquareOfFour)
{
    Picture picture(8, 4, false, 1);
    Nv12Scaler scaler(8, 4, 4, 2, GetParam());
    std::vector<uint32_t> out(8);
    scaler.draw(picture.image, lumaThrough, BgraTarget{out.data(), 4, 4, 2});
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint8_t* l = picture.image.luma + ptrdiff_t(2 * y) * picture.stride + 2 * x;
            const double mean = (l[0] + l[1] + l[picture.stride] + l[picture.stride + 1]) / 4.0;
            EXPECT_LE(std::fabs(int(out[size_t(y) * 4 + x] & 0xFF) - mean), 0.5 + 1e-9) << x << "," << y;
        }
    }
}

namespace {
// Pictures given sample by sample, against output pixels worked out by hand: each output
// pixel's centre mapped onto the picture's pixel centres, samples past the edge taken as the
// edge's, a U,V pair spanning two rows with its centre between them.
struct SmallPicture {
    SmallPicture(int width, int height, const std::vector<uint8_t>& lumaRows, const std::vector<uint8_t>& chromaRows)
        : stride(32),
          luma(size_t(stride) * (height + 1), 0),
          chroma(size_t(stride) * (height / 2 + 1), 128)
    {
        for (int y = 0; y < height; ++y)
            std::copy_n(lumaRows.begin() + ptrdiff_t(y) * width, width, luma.begin() + ptrdiff_t(y) * stride);
        for (int y = 0; y < height / 2; ++y)
            std::copy_n(chromaRows.begin() + ptrdiff_t(y) * width, width, chroma.begin() + ptrdiff_t(y) * stride);
        image = Nv12Image{luma.data(), chroma.data(), stride, width, height, false};
    }
    int stride;
    std::vector<uint8_t> luma, chroma;
    Nv12Image image{};
};

// One channel of every output pixel, top row first.
std::vector<int> drawn(const SmallPicture& picture, int width, int height, const YuvCoefficients& k, int shift,
                       Simd simd)
{
    std::vector<uint32_t> out(size_t(width) * height);
    Nv12Scaler(picture.image.width, picture.image.height, width, height, simd)
        .draw(picture.image, k, BgraTarget{out.data(), width, width, height});
    std::vector<int> channel;
    for (uint32_t pixel : out)
        channel.push_back(int(pixel >> shift & 0xFF));
    return channel;
}

void expectNear(const std::vector<int>& seen, const std::vector<double>& expected)
{
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_NEAR(seen[i], expected[i], 1.0) << "pixel " << i;
}
}  // namespace

TEST_P(FilteredScaling, ARampEnlargedTwiceAndOneAndAHalfTimesByHand)
{
    // Columns 0, 64, 128, 192 in both rows. Twice: output x sits at (x + 0.5) / 2 - 0.5.
    const SmallPicture ramp(4, 2, {0, 64, 128, 192, 0, 64, 128, 192}, {128, 128, 128, 128});
    const std::vector<double> twice{0, 16, 48, 80, 112, 144, 176, 192};
    std::vector<double> twiceBothRows;
    for (int row = 0; row < 4; ++row)
        twiceBothRows.insert(twiceBothRows.end(), twice.begin(), twice.end());
    expectNear(drawn(ramp, 8, 4, lumaThrough, 0, GetParam()), twiceBothRows);
    // One and a half times: at -1/6 (the edge's), 1/2, 7/6, 11/6, 5/2, 19/6 (the edge's).
    const std::vector<double> half{0, 32, 74.67, 117.33, 160, 192};
    std::vector<double> halfAllRows;
    for (int row = 0; row < 3; ++row)
        halfAllRows.insert(halfAllRows.end(), half.begin(), half.end());
    expectNear(drawn(ramp, 6, 3, lumaThrough, 0, GetParam()), halfAllRows);
}

TEST_P(FilteredScaling, ATwoByTwoCheckerEnlargedTwiceAndOneAndAHalfTimesByHand)
{
    const SmallPicture checker(2, 2, {0, 255, 255, 0}, {128, 128});
    // Weights of the two source samples along each axis, twice: (1, 0), (3/4, 1/4), (1/4, 3/4), (0, 1).
    expectNear(drawn(checker, 4, 4, lumaThrough, 0, GetParam()), {0, 63.75, 191.25, 255,         //
                                                                  63.75, 95.63, 159.38, 191.25,  //
                                                                  191.25, 159.38, 95.63, 63.75,  //
                                                                  255, 191.25, 63.75, 0});
    // One and a half times: (1, 0), (1/2, 1/2), (0, 1).
    expectNear(drawn(checker, 3, 3, lumaThrough, 0, GetParam()), {0, 127.5, 255, 127.5, 127.5, 127.5, 255, 127.5, 0});
}

TEST_P(FilteredScaling, ChromaRowsEnlargedByHandFromTheirCentresBetweenTwoLumaRows)
{
    // 4 x 4, U 128 (blue 0) in the first chroma row and 228 (blue 100) in the second. Four
    // times as many rows of chroma: output row y sits at (y + 0.5) / 4 - 0.5 chroma rows.
    const SmallPicture rows(4, 4, std::vector<uint8_t>(16, 100), {128, 128, 128, 128, 228, 128, 228, 128});
    const std::vector<double> column{0, 0, 12.5, 37.5, 62.5, 87.5, 100, 100};
    std::vector<double> expected;
    for (double blue : column)
        expected.insert(expected.end(), 8, blue);
    expectNear(drawn(rows, 8, 8, chromaThrough, 0, GetParam()), expected);
}

TEST(ScalingSimd, TheWidestWayIsAvx2WhereTheProcessorHasIt)
{
    EXPECT_EQ(widestSimd(), processorHasAvx2() ? Simd::avx2 : Simd::sse2);
}

TEST(ScalingSimd, AvxDrawsTheSamePixelsAsSse)
{
    if (!processorHasAvx2())
        GTEST_SKIP() << "this processor has no AVX2";
    const Size sizes[] = {
        {1280, 720, 1920, 1080, false},  {1920, 1080, 1920, 1080, false},
        {67, 35, 67, 35, true},  // sample for sample, odd
        {3840, 2160, 1920, 1080, false}, {33, 17, 50, 29, true},
        {101, 57, 40, 23, false},        {320, 180, 17, 9, false},
    };
    const YuvCoefficients k = yuvCoefficients(YuvMatrix::bt709, false);
    for (const Size& s : sizes) {
        Picture picture(s.pictureWidth, s.pictureHeight, s.oddLeft, uint32_t(s.pictureHeight));
        std::vector<uint32_t> sse(size_t(s.targetWidth) * s.targetHeight), avx(sse.size());
        Nv12Scaler(s.pictureWidth, s.pictureHeight, s.targetWidth, s.targetHeight, Simd::sse2)
            .draw(picture.image, k, BgraTarget{sse.data(), s.targetWidth, s.targetWidth, s.targetHeight});
        Nv12Scaler(s.pictureWidth, s.pictureHeight, s.targetWidth, s.targetHeight, Simd::avx2)
            .draw(picture.image, k, BgraTarget{avx.data(), s.targetWidth, s.targetWidth, s.targetHeight});
        EXPECT_EQ(sse, avx) << s.pictureWidth << "x" << s.pictureHeight << " in " << s.targetWidth << "x"
                            << s.targetHeight;
    }
}
