#pragma once
// The picture of the control window: a DIB section of the window's size that the playback
// worker draws each picture into (converted and scaled in one pass, once for each monitor's
// part of the window when it spans several, see monitor_parts.h) and copies to the window
// with one blit; the window's own WM_PAINT copies the same pixels, or a dark fill while there
// is no picture. Shared by the GUI thread and the worker; every operation locks briefly.
// Each opened file draws in a session of its own: a worker that is being retired (still
// finishing its last step) cannot draw over what came after it.
#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

#include "component/nv12_picture.h"

class FrameCanvas {
public:
    FrameCanvas() = default;
    FrameCanvas(const FrameCanvas&) = delete;
    FrameCanvas& operator=(const FrameCanvas&) = delete;

    void attach(HWND window);  // GUI thread: the window to draw in, or null
    HMONITOR monitor();        // the one showing most of the window; the main one without a window
    uint64_t clear();          // back to the dark fill, also on screen; the next session's number

    // Worker: convert `image` into the pixels, then show them in the window; both do
    // nothing unless `session` is the latest.
    void draw(uint64_t session, const Nv12Image& image, const YuvCoefficients& k);
    void present(uint64_t session);

    void paint(HDC dc, const RECT& client);  // GUI thread, WM_PAINT

private:
    struct BitmapDeleter {
        void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
    };
    struct DcDeleter {
        void operator()(HDC dc) const { DeleteDC(dc); }
    };
    using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;
    using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

    bool fitWindow(int width, int height);  // with the lock held
    // With the lock held: the window's parts that each monitor shows, each with a scaler of its
    // size; a new layout starts from the dark fill, since gaps between monitors are not drawn.
    void fitMonitors();

    std::mutex mutex_;
    HWND window_ = nullptr;
    Bitmap bitmap_;
    MemoryDc memoryDc_;  // after the bitmap: goes first, which lets go of the bitmap selected into it
    uint32_t* pixels_ = nullptr;
    int width_ = 0, height_ = 0;
    bool holdsPicture_ = false;
    uint64_t session_ = 0;
    std::vector<RECT> parts_;                         // in the window
    std::vector<std::optional<Nv12Scaler>> scalers_;  // one per part
};
