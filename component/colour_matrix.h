#pragma once
// Which YUV-to-RGB matrix a picture needs, and its coefficients in the fixed-point form the
// converter uses (6 fraction bits, so every sum fits a signed 16-bit lane).
#include <cstdint>

enum class YuvMatrix { bt601, bt709 };

// `declared` is the media type's MF_MT_YUV_MATRIX (0 when absent): 1 = BT.709, 2 = BT.601.
// Without a usable declaration, HD pictures (720 lines and more) are BT.709, others BT.601.
YuvMatrix chooseYuvMatrix(uint32_t declared, int height);

struct YuvCoefficients {
    int16_t lumaOffset;  // 16 for limited range, 0 for full range
    int16_t luma;        // scale of (Y - lumaOffset)
    int16_t redFromV;
    int16_t greenFromU;  // subtracted
    int16_t greenFromV;  // subtracted
    int16_t blueFromU;
};

// `fullRange`: the samples span 0..255 instead of 16..235.
YuvCoefficients yuvCoefficients(YuvMatrix matrix, bool fullRange);
