// Cost per picture of our NV12-to-window conversion into a 1080p target: 720p enlarged,
// 1080p as it is, 2160p reduced; the filtered scaler (with this processor's widest SIMD, and
// with SSE2 as processors without AVX2 run it) beside the nearest-sample way it replaced
// (kept here, as the baseline: convert each needed source row once with SSE2, pick columns).
// Usage: conversion_bench [PICTURES]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "component/colour_matrix.h"
#include "component/fill_mapping.h"
#include "component/nv12_picture.h"

namespace {

struct Picture {
    Picture(int width, int height) : luma(size_t(width) * height), chroma(size_t(width) * height / 2)
    {
        for (size_t i = 0; i < luma.size(); ++i)
            luma[i] = uint8_t(16 + (i * 7 + i / width * 3) % 220);
        for (size_t i = 0; i < chroma.size(); ++i)
            chroma[i] = uint8_t(64 + (i * 5) % 128);
        image = Nv12Image{luma.data(), chroma.data(), width, width, height, false};
    }
    std::vector<uint8_t> luma, chroma;
    Nv12Image image;
};

std::vector<int> nearest(int start, int count, int outputs)
{
    std::vector<int> indices(outputs);
    for (int i = 0; i < outputs; ++i)
        indices[i] = start + int((int64_t(2 * i + 1) * count) / (int64_t(2) * outputs));
    return indices;
}

// The nearest-sample drawing, its choices made once per size as the scaler makes its taps.
class NearestScaler {
public:
    NearestScaler(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight)
        : area_(visibleArea(pictureWidth, pictureHeight, targetWidth, targetHeight)),
          columns_(nearest(0, area_.width, targetWidth)),
          rows_(nearest(area_.top, area_.height, targetHeight)),
          row_(area_.width)
    {}
    void draw(const Nv12Image& image, const YuvCoefficients& k, const BgraTarget& target)
    {
        for (int y = 0; y < target.height; ++y) {
            uint32_t* out = target.pixels + ptrdiff_t(y) * target.stride;
            if (y > 0 && rows_[y] == rows_[y - 1]) {
                std::copy(out - target.stride, out - target.stride + target.width, out);
            } else if (area_.width == target.width) {
                convertNv12Row(image, k, rows_[y], area_.left, target.width, out);
            } else {
                convertNv12Row(image, k, rows_[y], area_.left, area_.width, row_.data());
                for (int x = 0; x < target.width; ++x)
                    out[x] = row_[columns_[x]];
            }
        }
    }

private:
    VisibleArea area_;
    std::vector<int> columns_, rows_;
    std::vector<uint32_t> row_;
};

template <class Draw>
double millisecondsPerPicture(int pictures, Draw draw)
{
    draw();
    const auto from = std::chrono::steady_clock::now();
    for (int i = 0; i < pictures; ++i)
        draw();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count() / pictures;
}

}  // namespace

int main(int argc, char** argv)
{
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 60;
    const YuvCoefficients k = yuvCoefficients(YuvMatrix::bt709, false);
    std::vector<uint32_t> target(1920 * 1080);
    const BgraTarget out{target.data(), 1920, 1920, 1080};
    std::printf("%-16s %12s %12s %8s %12s %8s\n", "into 1920x1080", "nearest_ms", "filtered_ms", "ratio", "sse2_ms",
                "ratio");
    const int sizes[][2] = {{1280, 720}, {1920, 1080}, {3840, 2160}};
    for (const auto& size : sizes) {
        Picture picture(size[0], size[1]);
        Nv12Scaler scaler(size[0], size[1], 1920, 1080), sse2(size[0], size[1], 1920, 1080, Simd::sse2);
        NearestScaler baseline(size[0], size[1], 1920, 1080);
        const double before = millisecondsPerPicture(pictures, [&] { baseline.draw(picture.image, k, out); });
        const double after = millisecondsPerPicture(pictures, [&] { scaler.draw(picture.image, k, out); });
        const double narrow = millisecondsPerPicture(pictures, [&] { sse2.draw(picture.image, k, out); });
        std::printf("%5dx%-10d %12.2f %12.2f %8.2f %12.2f %8.2f\n", size[0], size[1], before, after, after / before,
                    narrow, narrow / before);
    }
    return 0;
}
