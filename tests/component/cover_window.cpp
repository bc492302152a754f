#include "tests/component/cover_window.h"

CoverWindow::CoverWindow(int left, int top, int width, int height)
    : window_(CreateWindowExA(0, "Static", nullptr, WS_POPUP | WS_VISIBLE, left, top, width, height, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr))
{}

void CoverWindow::minimise() { ShowWindow(window_, SW_MINIMIZE); }

void CoverWindow::close()
{
    if (window_)
        DestroyWindow(window_);
    window_ = nullptr;
}
