// Checks the tests share: where a window stands, a rectangle in words.
#include "tests/driver/kv_driver.h"

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

}  // namespace kvtest
