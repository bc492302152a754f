#pragma once
// A plain top-level window of the test, shown in front of everything made before it: what a
// user's browser or game would be to the wallpaper.
#include <windows.h>

class CoverWindow {
public:
    CoverWindow(int left, int top, int width, int height);
    ~CoverWindow() { close(); }
    CoverWindow(const CoverWindow&) = delete;
    CoverWindow& operator=(const CoverWindow&) = delete;

    bool made() const { return window_ != nullptr; }
    HWND window() const { return window_; }
    void minimise();
    void close();

private:
    HWND window_;
};
