// Filtered scaling against a plain reference of the same filters in floating point: bilinear
// when enlarging, area averaging when reducing, each plane on its own grid (a U,V pair serves
// two columns and two rows). The conversion is set up to pass one plane through unchanged, so
// every output channel is one filtered sample and must be within 1 of the reference.
#include <windows.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "component/colour_matrix.h"
#include "component/fill_mapping.h"
#include "component/nv12_picture.h"

namespace {

// Weights of source samples for output `i` of `outputs` over the source run [start, start + length).
std::vector<std::pair<int, double>> referenceWeights(double start, double length, int outputs, int i, int first, int last)
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
        for (const auto& c : columns) sum += r.second * c.second * plane[ptrdiff_t(r.first) * stride + c.first * spacing];
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
        for (auto& b : luma) b = uint8_t(random());
        for (auto& b : chroma) b = uint8_t(128 + random() % 128);  // U - 128 and V - 128 stay positive
        const int left = oddLeft ? 1 : 0;
        image = Nv12Image{luma.data() + left, chroma.data(), stride, width, height, oddLeft};
    }
    int stride;
    std::vector<uint8_t> luma, chroma;
    Nv12Image image;
};

// The conversion passing luma through as grey, or U and V through as blue and red (less 128).
const YuvCoefficients kLumaThrough{0, 64, 0, 0, 0, 0};
const YuvCoefficients kChromaThrough{0, 0, 64, 0, 0, 64};

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
    scaler.draw(picture.image, kLumaThrough, BgraTarget{grey.data(), s.targetWidth, s.targetWidth, s.targetHeight});
    scaler.draw(picture.image, kChromaThrough, BgraTarget{colour.data(), s.targetWidth, s.targetWidth, s.targetHeight});

    const int shift = s.oddLeft ? 1 : 0;
    const int firstPair = (area.left + shift) / 2, lastPair = (area.left + area.width - 1 + shift) / 2;
    const uint8_t* chroma = picture.image.chroma;
    int worst = 0;
    for (int y = 0; y < s.targetHeight; ++y) {
        const auto lumaRows = referenceWeights(area.top, area.height, s.targetHeight, y, area.top, area.top + area.height - 1);
        const auto chromaRows = referenceWeights(area.top / 2.0, area.height / 2.0, s.targetHeight, y, area.top / 2,
                                                 (area.top + area.height - 1) / 2);
        for (int x = 0; x < s.targetWidth; ++x) {
            const auto lumaColumns = referenceWeights(area.left, area.width, s.targetWidth, x, area.left, area.left + area.width - 1);
            const auto chromaColumns = referenceWeights((area.left + shift) / 2.0, area.width / 2.0, s.targetWidth, x, firstPair, lastPair);
            const double l = referenceSample(picture.image.luma, picture.stride, 1, lumaRows, lumaColumns);
            const double u = referenceSample(chroma, picture.stride, 2, chromaRows, chromaColumns) - 128;
            const double v = referenceSample(chroma + 1, picture.stride, 2, chromaRows, chromaColumns) - 128;
            const uint32_t g = grey[size_t(y) * s.targetWidth + x], c = colour[size_t(y) * s.targetWidth + x];
            const double differences[] = {
                std::fabs(int((g >> 16) & 0xFF) - l), std::fabs(int((g >> 8) & 0xFF) - l), std::fabs(int(g & 0xFF) - l),
                std::fabs(int((c >> 16) & 0xFF) - v), std::fabs(int(c & 0xFF) - u),
            };
            for (double d : differences) worst = std::max(worst, int(std::ceil(d - 1e-9)));
        }
    }
    EXPECT_LE(worst, 1) << s.pictureWidth << "x" << s.pictureHeight << (s.oddLeft ? " (odd left)" : "") << " in "
                        << s.targetWidth << "x" << s.targetHeight;
}

// Every way of drawing this processor has: SSE2 always, AVX2 where it exists.
class FilteredScaling : public testing::TestWithParam<Simd> {
protected:
    void SetUp() override
    {
        if (GetParam() == Simd::avx2 && widestSimd() != Simd::avx2) GTEST_SKIP() << "this processor has no AVX2";
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
        for (size_t i = 0; i < bytes; ++i) start[i] = uint8_t(16 + i % 200);
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

INSTANTIATE_TEST_SUITE_P(EachSimd, FilteredScaling, testing::Values(Simd::sse2, Simd::avx2),
                         [](const testing::TestParamInfo<Simd>& info) { return info.param == Simd::avx2 ? "avx2" : "sse2"; });

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
    for (const Size& s : sizes) expectMatchesReference(s, GetParam());
}

TEST_P(FilteredScaling, ReadsNothingPastTheLastSampleOfThePicture)
{
    const Size sizes[] = {{1280, 720, 1920, 1080, false}, {1920, 1080, 1920, 1080, false}, {33, 17, 50, 29, false},
                          {40, 24, 60, 36, false}, {101, 57, 40, 23, false}};
    for (const Size& s : sizes) {
        PictureAtPageEnd picture(s.pictureWidth, s.pictureHeight);
        std::vector<uint32_t> out(size_t(s.targetWidth) * s.targetHeight, 0);
        Nv12Scaler scaler(s.pictureWidth, s.pictureHeight, s.targetWidth, s.targetHeight, GetParam());
        scaler.draw(picture.image, yuvCoefficients(YuvMatrix::bt709, false), BgraTarget{out.data(), s.targetWidth, s.targetWidth, s.targetHeight});
        EXPECT_NE(out.back(), 0u) << s.pictureWidth << "x" << s.pictureHeight;  // drawn to the last pixel, no fault on the way
    }
}

TEST_P(FilteredScaling, ReducingByTwoAveragesEachSquareOfFour)
{
    Picture picture(8, 4, false, 1);
    Nv12Scaler scaler(8, 4, 4, 2, GetParam());
    std::vector<uint32_t> out(8);
    scaler.draw(picture.image, kLumaThrough, BgraTarget{out.data(), 4, 4, 2});
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint8_t* l = picture.image.luma + ptrdiff_t(2 * y) * picture.stride + 2 * x;
            const double mean = (l[0] + l[1] + l[picture.stride] + l[picture.stride + 1]) / 4.0;
            EXPECT_LE(std::fabs(int(out[size_t(y) * 4 + x] & 0xFF) - mean), 0.5 + 1e-9) << x << "," << y;
        }
    }
}

TEST(ScalingSimd, AvxDrawsTheSamePixelsAsSse)
{
    if (widestSimd() != Simd::avx2) GTEST_SKIP() << "this processor has no AVX2";
    const Size sizes[] = {
        {1280, 720, 1920, 1080, false}, {1920, 1080, 1920, 1080, false}, {67, 35, 67, 35, true},  // sample for sample, odd
        {3840, 2160, 1920, 1080, false}, {33, 17, 50, 29, true},  {101, 57, 40, 23, false}, {320, 180, 17, 9, false},
    };
    const YuvCoefficients k = yuvCoefficients(YuvMatrix::bt709, false);
    for (const Size& s : sizes) {
        Picture picture(s.pictureWidth, s.pictureHeight, s.oddLeft, uint32_t(s.pictureHeight));
        std::vector<uint32_t> sse(size_t(s.targetWidth) * s.targetHeight), avx(sse.size());
        Nv12Scaler(s.pictureWidth, s.pictureHeight, s.targetWidth, s.targetHeight, Simd::sse2)
            .draw(picture.image, k, BgraTarget{sse.data(), s.targetWidth, s.targetWidth, s.targetHeight});
        Nv12Scaler(s.pictureWidth, s.pictureHeight, s.targetWidth, s.targetHeight, Simd::avx2)
            .draw(picture.image, k, BgraTarget{avx.data(), s.targetWidth, s.targetWidth, s.targetHeight});
        EXPECT_EQ(sse, avx) << s.pictureWidth << "x" << s.pictureHeight << " in " << s.targetWidth << "x" << s.targetHeight;
    }
}
