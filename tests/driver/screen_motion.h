#pragma once
// Whether video plays in a part of the screen, read from the screen's pixels.
#include <windows.h>

namespace kvtest {

// The area shows a picture (not the dark fill) that then changes, within the time.
bool playsOn(const RECT& area, DWORD timeoutMs = 15000);

}  // namespace kvtest
