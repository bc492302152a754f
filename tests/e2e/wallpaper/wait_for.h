#pragma once
// Polls a condition until it holds or the deadline passes; the tests wait for states this way.
#include <windows.h>

#include <functional>

inline bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
}
