// Checks the tests share: where a window stands.
#include "tests/driver/kv_driver.h"

namespace kvtest {

bool coversScreen(HWND window)
{
    const RECT rect = windowRect(window);
    return rect.left == 0 && rect.top == 0 && rect.right == screenWidth() && rect.bottom == screenHeight();
}

}  // namespace kvtest
