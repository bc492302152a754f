// Turning pictures upright: the walk along each upright line through the stored samples, and
// the scaler drawing a stored-on-its-side picture exactly as it draws the same picture turned
// beforehand. Wine reports no rotation for any file, so the media type here is made by hand.
#include <windows.h>
#include <mfapi.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "component/colour_matrix.h"
#include "component/media_foundation.h"
#include "component/nv12_picture.h"
#include "component/rotation.h"
#include "component/video_reader.h"

namespace {

// The stored samples an upright line passes, as "column,row" steps.
std::string walked(int line, int width, int height, Rotation rotation)
{
    const PlaneSize upright = uprightSize(width, height, rotation);
    const LineWalk walk = uprightLine(line, width, height, rotation);
    std::string samples;
    for (int i = 0; i < upright.width; ++i) {
        samples +=
            std::to_string(walk.column + i * walk.columnStep) + "," + std::to_string(walk.row + i * walk.rowStep) + " ";
    }
    return samples;
}

// An NV12 picture of its own, even sizes.
struct Nv12Picture {
    Nv12Picture(int width, int height)
        : width(width),
          height(height),
          luma(size_t(width) * height),
          pairs(size_t(width) * height / 2)
    {}
    Nv12Image image() const { return Nv12Image{luma.data(), pairs.data(), width, width, height, false}; }
    int width, height;
    std::vector<uint8_t> luma, pairs;
};

// `stored` turned by hand, sample by sample: the clockwise quarter turn moves stored (x, y)
// to upright (height - 1 - y, x).
Nv12Picture turnedClockwise(const Nv12Picture& stored, int quarters)
{
    Nv12Picture from = stored;
    for (int q = 0; q < quarters; ++q) {
        Nv12Picture to(from.height, from.width);
        for (int y = 0; y < from.height; ++y) {
            for (int x = 0; x < from.width; ++x)
                to.luma[size_t(x) * to.width + (from.height - 1 - y)] = from.luma[size_t(y) * from.width + x];
        }
        const int pairRows = from.height / 2, pairColumns = from.width / 2;
        for (int y = 0; y < pairRows; ++y) {
            for (int x = 0; x < pairColumns; ++x) {
                for (int c = 0; c < 2; ++c)
                    to.pairs[size_t(x) * to.width + 2 * (pairRows - 1 - y) + c] =
                        from.pairs[size_t(y) * from.width + 2 * x + c];
            }
        }
        from = to;
    }
    return from;
}

}  // namespace

TEST(Rotation, DegreesCounterClockwiseBecomeTheClockwiseTurnBack)
{
    EXPECT_EQ(rotationFromDegrees(0), Rotation::none);
    EXPECT_EQ(rotationFromDegrees(90), Rotation::quarter);
    EXPECT_EQ(rotationFromDegrees(180), Rotation::half);
    EXPECT_EQ(rotationFromDegrees(270), Rotation::threeQuarters);
    EXPECT_EQ(rotationFromDegrees(45), Rotation::none);
    EXPECT_EQ(rotationFromDegrees(360), Rotation::none);
}

TEST(Rotation, UprightLinesWalkTheStoredSamples)
{
    // A stored picture 3 wide and 2 high.
    struct Case {
        Rotation rotation;
        int line;
        const char* samples;
    } cases[] = {
        {Rotation::none, 0, "0,0 1,0 2,0 "},
        {Rotation::none, 1, "0,1 1,1 2,1 "},
        // Clockwise: the upright top row is the stored left column read upwards.
        {Rotation::quarter, 0, "0,1 0,0 "},
        {Rotation::quarter, 2, "2,1 2,0 "},
        {Rotation::half, 0, "2,1 1,1 0,1 "},
        {Rotation::half, 1, "2,0 1,0 0,0 "},
        // Counter-clockwise: the upright top row is the stored right column read downwards.
        {Rotation::threeQuarters, 0, "2,0 2,1 "},
        {Rotation::threeQuarters, 2, "0,0 0,1 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(walked(c.line, 3, 2, c.rotation), c.samples) << int(c.rotation) << " line " << c.line;
    EXPECT_EQ(uprightSize(3, 2, Rotation::quarter).width, 2);
    EXPECT_EQ(uprightSize(3, 2, Rotation::quarter).height, 3);
    EXPECT_EQ(uprightSize(3, 2, Rotation::half).width, 3);
}

TEST(Rotation, ScalerDrawsATurnedPictureAsThePictureTurnedBeforehand)
{
    // Turned pictures always take the filtered road, which places colour between its samples,
    // so every size here scales: the reference then takes the same road.
    struct Size {
        int width, height, targetWidth, targetHeight;
    } sizes[] = {
        {64, 36, 40, 72},    // upright it is tall: enlarged a little
        {96, 54, 160, 120},  // upright it is tall: enlarged, top and bottom cropped
        {120, 68, 30, 40},   // reduced
    };
    const YuvCoefficients k = yuvCoefficients(YuvMatrix::bt709, false);
    for (Simd simd : {Simd::sse2, widestSimd()}) {
        for (const Size& s : sizes) {
            Nv12Picture stored(s.width, s.height);
            std::mt19937 random(uint32_t(s.width));
            for (auto& b : stored.luma)
                b = uint8_t(random());
            for (auto& b : stored.pairs)
                b = uint8_t(random());
            const Rotation rotations[] = {Rotation::none, Rotation::quarter, Rotation::half, Rotation::threeQuarters};
            for (int quarters = 1; quarters < 4; ++quarters) {
                const Nv12Picture upright = turnedClockwise(stored, quarters);
                std::vector<uint32_t> expected(size_t(s.targetWidth) * s.targetHeight), turned(expected.size());
                const BgraTarget e{expected.data(), s.targetWidth, s.targetWidth, s.targetHeight};
                const BgraTarget t{turned.data(), s.targetWidth, s.targetWidth, s.targetHeight};
                Nv12Scaler(upright.width, upright.height, s.targetWidth, s.targetHeight, simd)
                    .draw(upright.image(), k, e);
                Nv12Image image = stored.image();
                image.rotation = rotations[quarters];
                Nv12Scaler(s.width, s.height, s.targetWidth, s.targetHeight, simd, image.rotation).draw(image, k, t);
                EXPECT_EQ(turned, expected) << s.width << "x" << s.height << " turned " << quarters << " quarters in "
                                            << s.targetWidth << "x" << s.targetHeight;
            }
        }
    }
}

// A media type as a Windows decoder gives it for a phone video stored on its side, and one
// of its pictures in a plain memory buffer: the picture comes out upright.
TEST(Rotation, MediaTypeRotationTurnsTheDecodedPictureUpright)
{
    const MediaFoundation* functions = mediaFoundation();
    ASSERT_NE(functions, nullptr);
    MediaFoundationSession session(*functions);
    ASSERT_TRUE(session.started());
    Microsoft::WRL::ComPtr<IMFMediaType> type;
    ASSERT_TRUE(SUCCEEDED(functions->createMediaType(&type)));
    constexpr int clipWidth = 32, clipHeight = 16;
    type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    type->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_I420);
    type->SetUINT64(MF_MT_FRAME_SIZE, (UINT64(clipWidth) << 32) | clipHeight);
    type->SetUINT32(videoRotation, 90);  // stored turned a quarter counter-clockwise
    const std::optional<VideoFormat> format = videoFormat(*type.Get(), PictureLayout::i420);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->rotation, Rotation::quarter);

    // Black, with a white square in the stored top-left corner; grey colour planes.
    Microsoft::WRL::ComPtr<IMFMediaBuffer> buffer;
    const DWORD bytes = clipWidth * clipHeight * 3 / 2;
    ASSERT_TRUE(SUCCEEDED(MFCreateMemoryBuffer(bytes, &buffer)));
    BYTE* data = nullptr;
    ASSERT_TRUE(SUCCEEDED(buffer->Lock(&data, nullptr, nullptr)));
    std::fill(data, data + clipWidth * clipHeight, BYTE(16));
    std::fill(data + clipWidth * clipHeight, data + bytes, BYTE(128));
    for (int y = 0; y < 8; ++y)
        std::fill(data + y * clipWidth, data + y * clipWidth + 8, BYTE(235));
    buffer->Unlock();
    buffer->SetCurrentLength(bytes);

    DecodedFrame frame(buffer, *format);
    ASSERT_TRUE(frame.valid());
    const PlaneSize upright = uprightSize(format->width, format->height, format->rotation);
    ASSERT_EQ(upright.width, clipHeight);
    ASSERT_EQ(upright.height, clipWidth);
    std::vector<uint32_t> out(size_t(upright.width) * upright.height);
    Nv12Scaler(clipWidth, clipHeight, upright.width, upright.height, widestSimd(), frame.image().rotation)
        .draw(frame.image(), format->coefficients,
              BgraTarget{out.data(), upright.width, upright.width, upright.height});
    // Turned clockwise, the stored top-left corner is the upright top-right one.
    auto grey = [&](int x, int y) { return int(out[size_t(y) * upright.width + x] & 0xFF); };
    EXPECT_EQ(grey(upright.width - 1, 0), 255);
    EXPECT_EQ(grey(upright.width - 8, 7), 255);
    EXPECT_EQ(grey(0, 0), 0);
    EXPECT_EQ(grey(upright.width - 1, upright.height - 1), 0);
    EXPECT_EQ(grey(upright.width - 9, 0), 0);
}
