// The same picture in NV12, I420 and YV12 draws the same pixels, bit for bit, in every way the
// scaler draws (sample for sample, enlarging, reducing, cropped, from an odd column) and in
// both SIMD widths; and which layout is asked of a decoder offering its own list of types.
#include <windows.h>
#include <mfapi.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "component/colour_matrix.h"
#include "component/nv12_picture.h"
#include "tests/component/test_names.h"
#include "component/output_layout.h"

namespace {

// One random picture held in all three layouts. The planar copies get a chroma stride of
// their own, not half the luma stride, so that mixing the two up shows.
struct PictureInEachLayout {
    PictureInEachLayout(int width, int height, bool oddLeft, uint32_t seed)
        : stride((width + 1 + 15) / 16 * 16 + 16),
          chromaStride(stride / 2 + 24)
    {
        std::mt19937 random(seed);
        const int chromaRows = (height + 1) / 2 + 1;
        luma.resize(size_t(stride) * (height + 1));
        pairs.resize(size_t(stride) * chromaRows);
        for (auto& b : luma)
            b = uint8_t(random());
        for (auto& b : pairs)
            b = uint8_t(random());
        // I420: U plane then V plane; YV12: V plane then U plane, in one buffer each.
        const size_t plane = size_t(chromaStride) * chromaRows;
        i420.assign(2 * plane, 0);
        yv12.assign(2 * plane, 0);
        for (int r = 0; r < chromaRows; ++r) {
            for (int p = 0; p < stride / 2; ++p) {
                const uint8_t u = pairs[size_t(r) * stride + 2 * p], v = pairs[size_t(r) * stride + 2 * p + 1];
                const size_t at = size_t(r) * chromaStride + p;
                i420[at] = u;
                i420[plane + at] = v;
                yv12[at] = v;
                yv12[plane + at] = u;
            }
        }
        const int left = oddLeft ? 1 : 0;
        nv12Image = Nv12Image{luma.data() + left, pairs.data(), stride, width, height, oddLeft};
        i420Image = Nv12Image{luma.data() + left,  nullptr,     stride, width, height, oddLeft, i420.data(),
                              i420.data() + plane, chromaStride};
        yv12Image = Nv12Image{luma.data() + left,  nullptr,     stride,      width, height, oddLeft,
                              yv12.data() + plane, yv12.data(), chromaStride};
    }
    int stride, chromaStride;
    std::vector<uint8_t> luma, pairs, i420, yv12;
    Nv12Image nv12Image{}, i420Image{}, yv12Image{};
};

struct Size {
    int pictureWidth, pictureHeight, targetWidth, targetHeight;
    bool oddLeft;
};

std::vector<uint32_t> drawn(const Nv12Image& image, const Size& s, Simd simd)
{
    std::vector<uint32_t> out(size_t(s.targetWidth) * s.targetHeight);
    Nv12Scaler(s.pictureWidth, s.pictureHeight, s.targetWidth, s.targetHeight, simd)
        .draw(image, yuvCoefficients(YuvMatrix::bt709, false),
              BgraTarget{out.data(), s.targetWidth, s.targetWidth, s.targetHeight});
    return out;
}

class PictureLayouts : public testing::TestWithParam<Simd> {
protected:
    void SetUp() override
    {
        if (GetParam() == Simd::avx2 && widestSimd() != Simd::avx2)
            GTEST_SKIP() << "this processor has no AVX2";
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(EachSimd, PictureLayouts, testing::Values(Simd::sse2, Simd::avx2), simdName);

TEST_P(PictureLayouts, PlanarColourDrawsTheSamePixelsAsInterleaved)
{
    const Size sizes[] = {
        {1920, 1080, 1920, 1080, false},  // sample for sample
        {67, 35, 67, 35, true},           // sample for sample from an odd column, odd sizes
        {1280, 720, 1920, 1080, false},   // enlarged
        {33, 17, 50, 29, true},           // enlarged, odd
        {3840, 2160, 1920, 1080, false},  // halved
        {101, 57, 40, 23, false},         // reduced, odd
        {320, 180, 17, 9, false},         // reduced many times
        {90, 160, 50, 50, true},          // sides cropped
        {160, 120, 90, 50, false},        // top and bottom cropped
        {7, 5, 64, 40, false},            // the filter's window wider than the row
    };
    for (const Size& s : sizes) {
        PictureInEachLayout picture(s.pictureWidth, s.pictureHeight, s.oddLeft,
                                    uint32_t(s.pictureWidth * 31 + s.targetHeight));
        const std::vector<uint32_t> nv12 = drawn(picture.nv12Image, s, GetParam());
        EXPECT_EQ(drawn(picture.i420Image, s, GetParam()), nv12)
            << "I420 " << s.pictureWidth << "x" << s.pictureHeight << " in " << s.targetWidth << "x" << s.targetHeight;
        EXPECT_EQ(drawn(picture.yv12Image, s, GetParam()), nv12)
            << "YV12 " << s.pictureWidth << "x" << s.pictureHeight << " in " << s.targetWidth << "x" << s.targetHeight;
    }
}

TEST(PictureLayoutRows, PlanarRowsConvertLikeInterleavedFromEveryColumn)
{
    PictureInEachLayout picture(48, 6, true, 7);
    const YuvCoefficients k = yuvCoefficients(YuvMatrix::bt601, true);
    for (int left = 0; left < 20; ++left) {
        std::vector<uint32_t> nv12(28), i420(28), yv12(28);
        convertNv12Row(picture.nv12Image, k, 3, left, 28, nv12.data());
        convertNv12Row(picture.i420Image, k, 3, left, 28, i420.data());
        convertNv12Row(picture.yv12Image, k, 3, left, 28, yv12.data());
        EXPECT_EQ(i420, nv12) << "from column " << left;
        EXPECT_EQ(yv12, nv12) << "from column " << left;
    }
}

TEST(OutputChoice, FirstLayoutWeDrawInTheDecodersOrderElseNv12ByThePlatform)
{
    struct Case {
        const char* what;
        std::vector<GUID> native;
        GUID subtype;
        PictureLayout layout;
    } cases[] = {
        {"Wine's decoder",
         {MFVideoFormat_I420, MFVideoFormat_NV12, MFVideoFormat_YV12, MFVideoFormat_YUY2, MFVideoFormat_IYUV},
         MFVideoFormat_I420,
         PictureLayout::i420},
        {"NV12 first", {MFVideoFormat_NV12, MFVideoFormat_I420}, MFVideoFormat_NV12, PictureLayout::nv12},
        {"IYUV is I420's bytes",
         {MFVideoFormat_YUY2, MFVideoFormat_IYUV, MFVideoFormat_NV12},
         MFVideoFormat_IYUV,
         PictureLayout::i420},
        {"YV12 before NV12",
         {MFVideoFormat_YUY2, MFVideoFormat_YV12, MFVideoFormat_NV12},
         MFVideoFormat_YV12,
         PictureLayout::yv12},
        {"compressed only (Windows' sources)", {MFVideoFormat_H264}, MFVideoFormat_NV12, PictureLayout::nv12},
        {"only layouts we do not draw",
         {MFVideoFormat_YUY2, MFVideoFormat_RGB32},
         MFVideoFormat_NV12,
         PictureLayout::nv12},
        {"nothing offered", {}, MFVideoFormat_NV12, PictureLayout::nv12},
    };
    for (const Case& c : cases) {
        const OutputChoice choice = chooseOutput(c.native);
        EXPECT_TRUE(choice.subtype == c.subtype) << c.what;
        EXPECT_EQ(choice.layout, c.layout) << c.what;
    }
}
