#include "component/frame_canvas.h"

namespace {

const COLORREF kDarkFill = RGB(0, 0, 0);

void fillDark(HDC dc, const RECT& area)
{
    SetBkColor(dc, kDarkFill);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

}  // namespace

void FrameCanvas::attach(HWND window)
{
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = window;
}

uint64_t FrameCanvas::clear()
{
    HWND window;
    uint64_t session;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        holdsPicture_ = false;
        window = window_;
        session = ++session_;
    }
    if (window) InvalidateRect(window, nullptr, FALSE);
    return session;
}

void FrameCanvas::draw(uint64_t session, const Nv12Image& image, const YuvCoefficients& k)
{
    std::lock_guard<std::mutex> lock(mutex_);
    RECT client{};
    if (session != session_ || !window_ || !GetClientRect(window_, &client)) return;
    if (!fitWindow(client.right, client.bottom)) return;
    if (!scaler_ || !scaler_->fits(image.width, image.height, width_, height_, image.rotation)) {
        scaler_.emplace(image.width, image.height, width_, height_, widestSimd(), image.rotation);
    }
    GdiFlush();  // the pixels may still be read by a blit that GDI has queued
    scaler_->draw(image, k, BgraTarget{pixels_, width_, width_, height_});
    holdsPicture_ = true;
}

void FrameCanvas::present(uint64_t session)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (session != session_ || !window_ || !holdsPicture_) return;
    HDC dc = GetDC(window_);
    if (!dc) return;
    BitBlt(dc, 0, 0, width_, height_, memoryDc_.get(), 0, 0, SRCCOPY);
    ReleaseDC(window_, dc);
}

void FrameCanvas::paint(HDC dc, const RECT& client)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!holdsPicture_) {
        fillDark(dc, client);
        return;
    }
    BitBlt(dc, 0, 0, width_, height_, memoryDc_.get(), 0, 0, SRCCOPY);
    if (client.right > width_) fillDark(dc, RECT{width_, 0, client.right, client.bottom});
    if (client.bottom > height_) fillDark(dc, RECT{0, height_, width_, client.bottom});
}

bool FrameCanvas::fitWindow(int width, int height)
{
    if (width <= 0 || height <= 0) return false;
    if (bitmap_ && width == width_ && height == height_) return true;
    memoryDc_.reset();
    bitmap_.reset();
    pixels_ = nullptr;
    width_ = height_ = 0;
    holdsPicture_ = false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    MemoryDc dc(CreateCompatibleDC(nullptr));
    Bitmap bitmap(dc ? CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr);
    if (!bitmap) return false;
    SelectObject(dc.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
    memoryDc_ = std::move(dc);
    pixels_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}
