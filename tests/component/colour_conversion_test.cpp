#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "component/colour_matrix.h"
#include "component/nv12_picture.h"

namespace {

struct Rgb {
    int red, green, blue;
};

Rgb channels(uint32_t pixel) { return Rgb{int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)}; }

// The textbook conversion in floating point, limited range.
Rgb reference(int y, int u, int v, YuvMatrix matrix)
{
    const double kr = matrix == YuvMatrix::bt709 ? 0.2126 : 0.299;
    const double kb = matrix == YuvMatrix::bt709 ? 0.0722 : 0.114;
    const double kg = 1 - kr - kb;
    const double l = (y - 16) * 255.0 / 219.0;
    const double cb = (u - 128) * 255.0 / 224.0;
    const double cr = (v - 128) * 255.0 / 224.0;
    auto clamp = [](double x) { return int(std::lround(x < 0 ? 0 : (x > 255 ? 255 : x))); };
    return Rgb{clamp(l + 2 * (1 - kr) * cr), clamp(l - 2 * (1 - kb) * kb / kg * cb - 2 * (1 - kr) * kr / kg * cr),
               clamp(l + 2 * (1 - kb) * cb)};
}

// A picture of one colour, `width` x `height`, in its own NV12 planes.
struct SolidNv12 {
    SolidNv12(int width, int height, int y, int u, int v)
        : luma(size_t(width) * height, uint8_t(y)),
          chroma(size_t(width) * height / 2)
    {
        for (size_t i = 0; i < chroma.size(); i += 2) {
            chroma[i] = uint8_t(u);
            chroma[i + 1] = uint8_t(v);
        }
        image = Nv12Image{luma.data(), chroma.data(), width, width, height, false};
    }
    std::vector<uint8_t> luma, chroma;
    Nv12Image image;
};

}  // namespace

TEST(YuvMatrixChoice, DeclaredMatrixWinsOtherwiseHeightDecides)
{
    struct Case {
        uint32_t declared;
        int height;
        YuvMatrix expected;
    } cases[] = {
        {0, 360, YuvMatrix::bt601},  {0, 719, YuvMatrix::bt601}, {0, 720, YuvMatrix::bt709},
        {0, 1080, YuvMatrix::bt709}, {1, 360, YuvMatrix::bt709}, {2, 1080, YuvMatrix::bt601},
        {7, 1080, YuvMatrix::bt709}, {7, 480, YuvMatrix::bt601},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseYuvMatrix(c.declared, c.height), c.expected) << c.declared << " " << c.height;
    }
}

TEST(Nv12Conversion, PrimariesOfBothMatricesComeOutWithinTwoLevels)
{
    struct Case {
        YuvMatrix matrix;
        int y, u, v;
    } cases[] = {
        {YuvMatrix::bt601, 81, 90, 240},    // red
        {YuvMatrix::bt601, 145, 54, 34},    // green
        {YuvMatrix::bt601, 41, 240, 110},   // blue
        {YuvMatrix::bt601, 235, 128, 128},  // white
        {YuvMatrix::bt601, 16, 128, 128},   // black
        {YuvMatrix::bt709, 63, 102, 240},   // red
        {YuvMatrix::bt709, 173, 42, 26},    // green
        {YuvMatrix::bt709, 32, 240, 118},   // blue
        {YuvMatrix::bt709, 126, 128, 128},  // grey
        {YuvMatrix::bt709, 0, 0, 255},      // out of range: clamped, not wrapped
    };
    for (const Case& c : cases) {
        SolidNv12 picture(16, 2, c.y, c.u, c.v);
        uint32_t row[16];
        convertNv12Row(picture.image, yuvCoefficients(c.matrix, false), 0, 0, 16, row);
        const Rgb expected = reference(c.y, c.u, c.v, c.matrix);
        for (uint32_t pixel : row) {
            const Rgb got = channels(pixel);
            EXPECT_NEAR(got.red, expected.red, 2) << c.y << "," << c.u << "," << c.v;
            EXPECT_NEAR(got.green, expected.green, 2) << c.y << "," << c.u << "," << c.v;
            EXPECT_NEAR(got.blue, expected.blue, 2) << c.y << "," << c.u << "," << c.v;
            EXPECT_EQ(pixel >> 24, 0xFFu);
        }
    }
}

TEST(Nv12Conversion, RunsOfPixelsMatchPixelByPixelConversionAtAnyStartAndLength)
{
    const int width = 64, height = 4;
    std::vector<uint8_t> luma(width * height), chroma(width * height / 2);
    std::mt19937 random(7);
    for (auto& sample : luma)
        sample = uint8_t(random());
    for (auto& sample : chroma)
        sample = uint8_t(random());
    const Nv12Image image{luma.data(), chroma.data(), width, width, height, false};
    const YuvCoefficients k = yuvCoefficients(YuvMatrix::bt709, false);
    for (int left : {0, 1, 2, 3, 9}) {
        for (int count : {1, 7, 8, 9, 17, 40}) {
            std::vector<uint32_t> run(count);
            convertNv12Row(image, k, 3, left, count, run.data());
            for (int i = 0; i < count; ++i) {
                uint32_t single;
                convertNv12Row(image, k, 3, left + i, 1, &single);
                ASSERT_EQ(run[i], single) << "left " << left << " count " << count << " pixel " << i;
            }
        }
    }
}

TEST(Nv12Conversion, PictureStartingAtOddColumnUsesThePairOfTheColumnBefore)
{
    // Columns 0,1 red; 2,3 blue (BT.601). The picture starts at column 1: red, blue, blue.
    const uint8_t luma[4] = {81, 81, 41, 41};
    const uint8_t chroma[4] = {90, 240, 240, 110};
    const Nv12Image image{luma + 1, chroma, 4, 3, 1, true};
    uint32_t row[3];
    convertNv12Row(image, yuvCoefficients(YuvMatrix::bt601, false), 0, 0, 3, row);
    EXPECT_GT(channels(row[0]).red, 240);
    EXPECT_GT(channels(row[1]).blue, 240);
    EXPECT_GT(channels(row[2]).blue, 240);
}

TEST(Nv12Scaler, FillsTheWholeTargetAndKeepsTheRowsOfTheVisiblePart)
{
    // Top half red, bottom half blue, 16 x 8; drawn into 8 x 8 (sides cropped), 16 x 8 (as it is)
    // and 32 x 8 (top and bottom cropped).
    const int width = 16, height = 8;
    std::vector<uint8_t> luma(width * height), chroma(width * height / 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            luma[y * width + x] = y < 4 ? 81 : 41;
    }
    for (int y = 0; y < height / 2; ++y) {
        for (int x = 0; x < width; x += 2) {
            chroma[y * width + x] = y < 2 ? 90 : 240;
            chroma[y * width + x + 1] = y < 2 ? 240 : 110;
        }
    }
    const Nv12Image image{luma.data(), chroma.data(), width, width, height, false};
    const YuvCoefficients k = yuvCoefficients(YuvMatrix::bt601, false);
    for (int targetWidth : {8, 16, 32}) {
        std::vector<uint32_t> pixels(targetWidth * 8, 0);
        Nv12Scaler scaler(width, height, targetWidth, 8);
        scaler.draw(image, k, BgraTarget{pixels.data(), targetWidth, targetWidth, 8});
        for (int y = 0; y < 8; ++y) {
            // Enlarged, the two rows at the split blend red and blue.
            if (targetWidth == 32 && (y == 3 || y == 4))
                continue;
            for (int x = 0; x < targetWidth; ++x) {
                const Rgb got = channels(pixels[y * targetWidth + x]);
                const bool expectRed = y < 4;  // both ways the middle rows show, split at the centre
                EXPECT_GT(expectRed ? got.red : got.blue, 200) << targetWidth << " " << x << "," << y;
            }
        }
    }
}
