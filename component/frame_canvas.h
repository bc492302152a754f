#pragma once
// The picture of the control window: a DIB section of the window's size that the playback
// worker draws each picture into (converted and scaled in one pass) and copies to the window
// with one blit; the window's own WM_PAINT copies the same pixels, or a dark fill while there
// is no picture. Shared by the GUI thread and the worker; every operation locks briefly.
#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>

#include "component/nv12_picture.h"

class FrameCanvas {
public:
    FrameCanvas() = default;
    ~FrameCanvas();
    FrameCanvas(const FrameCanvas&) = delete;
    FrameCanvas& operator=(const FrameCanvas&) = delete;

    void attach(HWND window);  // GUI thread: the window to draw in, or null
    void clear();              // back to the dark fill, also on screen

    // Worker: convert `image` into the pixels, then show them in the window.
    void draw(const Nv12Image& image, const YuvCoefficients& k);
    void present();

    void paint(HDC dc, const RECT& client);  // GUI thread, WM_PAINT

private:
    bool fitWindow(int width, int height);  // with the lock held
    void release();

    std::mutex mutex_;
    HWND window_ = nullptr;
    HDC memoryDc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    uint32_t* pixels_ = nullptr;
    int width_ = 0, height_ = 0;
    bool holdsPicture_ = false;
    std::optional<Nv12Scaler> scaler_;
};
