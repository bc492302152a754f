// Checks the tests share: where a window stands, a rectangle in words, a pixel's colour.
#include "tests/driver/kv_driver.h"

#include <cstdlib>

namespace kvtest {

bool coversScreen(HWND window)
{
    const RECT rect = windowRect(window);
    return rect.left == 0 && rect.top == 0 && rect.right == screenWidth() && rect.bottom == screenHeight();
}

std::string rectText(const RECT& rect)
{
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom) + ")";
}

bool colourNear(COLORREF colour, int red, int green, int blue, int tolerance)
{
    return colour != CLR_INVALID && std::abs(GetRValue(colour) - red) <= tolerance &&
           std::abs(GetGValue(colour) - green) <= tolerance && std::abs(GetBValue(colour) - blue) <= tolerance;
}

}  // namespace kvtest
