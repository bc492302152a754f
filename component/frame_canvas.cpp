#include "component/frame_canvas.h"

namespace {

const COLORREF kDarkFill = RGB(0, 0, 0);

void fillDark(HDC dc, const RECT& area)
{
    SetBkColor(dc, kDarkFill);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

}  // namespace

FrameCanvas::~FrameCanvas() { release(); }

void FrameCanvas::attach(HWND window)
{
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = window;
}

void FrameCanvas::clear()
{
    HWND window;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        holdsPicture_ = false;
        window = window_;
    }
    if (window) InvalidateRect(window, nullptr, FALSE);
}

void FrameCanvas::draw(const Nv12Image& image, const YuvCoefficients& k)
{
    std::lock_guard<std::mutex> lock(mutex_);
    RECT client{};
    if (!window_ || !GetClientRect(window_, &client)) return;
    if (!fitWindow(client.right, client.bottom)) return;
    if (!scaler_ || !scaler_->fits(image.width, image.height, width_, height_)) {
        scaler_.emplace(image.width, image.height, width_, height_);
    }
    GdiFlush();  // the pixels may still be read by a blit that GDI has queued
    scaler_->draw(image, k, BgraTarget{pixels_, width_, width_, height_});
    holdsPicture_ = true;
}

void FrameCanvas::present()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!window_ || !holdsPicture_) return;
    HDC dc = GetDC(window_);
    if (!dc) return;
    BitBlt(dc, 0, 0, width_, height_, memoryDc_, 0, 0, SRCCOPY);
    ReleaseDC(window_, dc);
}

void FrameCanvas::paint(HDC dc, const RECT& client)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!holdsPicture_) {
        fillDark(dc, client);
        return;
    }
    BitBlt(dc, 0, 0, width_, height_, memoryDc_, 0, 0, SRCCOPY);
    if (client.right > width_) fillDark(dc, RECT{width_, 0, client.right, client.bottom});
    if (client.bottom > height_) fillDark(dc, RECT{0, height_, width_, client.bottom});
}

bool FrameCanvas::fitWindow(int width, int height)
{
    if (width <= 0 || height <= 0) return false;
    if (bitmap_ && width == width_ && height == height_) return true;
    release();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    memoryDc_ = CreateCompatibleDC(nullptr);
    bitmap_ = memoryDc_ ? CreateDIBSection(memoryDc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!bitmap_) {
        release();
        return false;
    }
    previousBitmap_ = SelectObject(memoryDc_, bitmap_);
    pixels_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void FrameCanvas::release()
{
    if (memoryDc_ && previousBitmap_) SelectObject(memoryDc_, previousBitmap_);
    if (bitmap_) DeleteObject(bitmap_);
    if (memoryDc_) DeleteDC(memoryDc_);
    memoryDc_ = nullptr;
    bitmap_ = nullptr;
    previousBitmap_ = nullptr;
    pixels_ = nullptr;
    width_ = height_ = 0;
    holdsPicture_ = false;
}
