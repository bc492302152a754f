#include "component/frame_canvas.h"

#include <algorithm>
#include <cstring>

#include "component/monitor_parts.h"

namespace {

const COLORREF darkFill = RGB(0, 0, 0);

void fillDark(HDC dc, const RECT& area)
{
    SetBkColor(dc, darkFill);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

}  // namespace

void FrameCanvas::attach(HWND window)
{
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = window;
}

HMONITOR FrameCanvas::monitor()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY);
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
    if (window)
        InvalidateRect(window, nullptr, FALSE);
    return session;
}

void FrameCanvas::draw(uint64_t session, const Nv12Image& image, const YuvCoefficients& k)
{
    std::lock_guard<std::mutex> lock(mutex_);
    RECT client{};
    if (session != session_ || !window_ || !GetClientRect(window_, &client))
        return;
    if (!fitWindow(client.right, client.bottom))
        return;
    GdiFlush();  // the pixels may still be read by a blit that GDI has queued
    fitMonitors();
    for (size_t i = 0; i < parts_.size(); ++i) {
        const RECT& part = parts_[i];
        const int width = part.right - part.left, height = part.bottom - part.top;
        std::optional<Nv12Scaler>& scaler = scalers_[i];
        if (!scaler || !scaler->fits(image.width, image.height, width, height, image.rotation)) {
            scaler.emplace(image.width, image.height, width, height, widestSimd(), image.rotation);
        }
        scaler->draw(image, k, BgraTarget{pixels_ + size_t(part.top) * width_ + part.left, width_, width, height});
    }
    holdsPicture_ = true;
}

void FrameCanvas::present(uint64_t session)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (session != session_ || !window_ || !holdsPicture_)
        return;
    HDC dc = GetDC(window_);
    if (!dc)
        return;
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
    if (client.right > width_)
        fillDark(dc, RECT{width_, 0, client.right, client.bottom});
    if (client.bottom > height_)
        fillDark(dc, RECT{0, height_, width_, client.bottom});
}

void FrameCanvas::fitMonitors()
{
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    const RECT window{origin.x, origin.y, origin.x + width_, origin.y + height_};
    std::vector<RECT> parts = monitorParts(window, displayMonitors());
    const bool same = parts.size() == parts_.size() &&
                      std::equal(parts.begin(), parts.end(), parts_.begin(),
                                 [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; });
    if (same)
        return;
    std::memset(pixels_, 0, size_t(width_) * height_ * sizeof(uint32_t));
    parts_ = std::move(parts);
    scalers_.clear();
    scalers_.resize(parts_.size());
}

bool FrameCanvas::fitWindow(int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    if (bitmap_ && width == width_ && height == height_)
        return true;
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
    if (!bitmap)
        return false;
    SelectObject(dc.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
    memoryDc_ = std::move(dc);
    pixels_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}
