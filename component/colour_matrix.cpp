#include "component/colour_matrix.h"

#include <cmath>

namespace {

int16_t fixed(double value) { return static_cast<int16_t>(std::lround(value * 64.0)); }

}  // namespace

YuvMatrix chooseYuvMatrix(uint32_t declared, int height)
{
    if (declared == 1)
        return YuvMatrix::bt709;
    if (declared == 2)
        return YuvMatrix::bt601;
    return height >= 720 ? YuvMatrix::bt709 : YuvMatrix::bt601;
}

YuvCoefficients yuvCoefficients(YuvMatrix matrix, bool fullRange)
{
    // Luma weights of the red and blue primaries.
    const double kr = matrix == YuvMatrix::bt709 ? 0.2126 : 0.299;
    const double kb = matrix == YuvMatrix::bt709 ? 0.0722 : 0.114;
    const double kg = 1.0 - kr - kb;
    const double lumaScale = fullRange ? 1.0 : 255.0 / 219.0;
    const double chromaScale = fullRange ? 1.0 : 255.0 / 224.0;
    YuvCoefficients k{};
    k.lumaOffset = fullRange ? 0 : 16;
    k.luma = fixed(lumaScale);
    k.redFromV = fixed(2.0 * (1.0 - kr) * chromaScale);
    k.greenFromU = fixed(2.0 * (1.0 - kb) * kb / kg * chromaScale);
    k.greenFromV = fixed(2.0 * (1.0 - kr) * kr / kg * chromaScale);
    k.blueFromU = fixed(2.0 * (1.0 - kb) * chromaScale);
    return k;
}
