#pragma once
// The playback control: the automation methods hosts call by name, on their GUI thread.
// An open file plays on a PlaybackWorker; the control window shows its pictures, and while
// nobody can see them, or power or a remote session says to hold (VisibilityWatch), the worker
// spends nothing on them.
#include <memory>
#include <vector>

#include "aplayer.h"
#include "component/config_items.h"
#include "component/control/dispatch_control.h"
#include "component/frame_canvas.h"
#include "component/playback_worker.h"
#include "component/visibility_watch.h"

class APlayerControl final : public kvctl::DispatchControl<IAPlayer> {
public:
    APlayerControl() = default;
    ~APlayerControl() override;

    HRESULT STDMETHODCALLTYPE Open(BSTR fileName, LONG* result) override;
    HRESULT STDMETHODCALLTYPE Close(LONG* result) override;
    HRESULT STDMETHODCALLTYPE Play(LONG* result) override;
    HRESULT STDMETHODCALLTYPE Pause(LONG* result) override;
    HRESULT STDMETHODCALLTYPE GetVersion(BSTR* version) override;
    HRESULT STDMETHODCALLTYPE SetCustomLogo(LONG logo, LONG* result) override;
    HRESULT STDMETHODCALLTYPE GetState(LONG* state) override;
    HRESULT STDMETHODCALLTYPE GetDuration(LONG* milliseconds) override;
    HRESULT STDMETHODCALLTYPE GetPosition(LONG* milliseconds) override;
    HRESULT STDMETHODCALLTYPE SetPosition(LONG milliseconds, LONG* result) override;
    HRESULT STDMETHODCALLTYPE GetVideoWidth(LONG* width) override;
    HRESULT STDMETHODCALLTYPE GetVideoHeight(LONG* height) override;
    HRESULT STDMETHODCALLTYPE GetVolume(LONG* volume) override;
    HRESULT STDMETHODCALLTYPE SetVolume(LONG volume, LONG* result) override;
    HRESULT STDMETHODCALLTYPE IsSeeking(VARIANT_BOOL* seeking) override;
    HRESULT STDMETHODCALLTYPE GetBufferProgress(LONG* percent) override;
    HRESULT STDMETHODCALLTYPE GetConfig(LONG item, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE SetConfig(LONG item, VARIANT value, LONG* result) override;

    using kvctl::OleControl::Close;  // IOleObject::Close(DWORD) stays reachable beside ours

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc, const RECT& client) override;
    void onActivated() override;
    void onDeactivating() override;

private:
    void closeFile();
    void onSeenChanged(bool seen);
    void stopWatching();

    ConfigItems config_;
    FrameCanvas canvas_;
    // After the canvas they draw on, so they stop first.
    std::unique_ptr<PlaybackWorker> worker_;
    // Closed files whose threads are still finishing a step (opening can take a second):
    // asked to stop and let go of without waiting; waited for when the control goes.
    std::vector<std::unique_ptr<PlaybackWorker>> retired_;
    std::unique_ptr<VisibilityWatch> watch_;  // while the window exists
    bool seen_ = true;
    LONG volume_ = 100;
    LONG customLogo_ = 0;
};
