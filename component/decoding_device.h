#pragma once
// A Direct3D 11 device for the platform's decoder, on the adapter that drives the monitor the
// wallpaper is on (on a laptop with two graphics chips, the one wired to the screen, so no
// picture crosses between them), made with video support and guarded for the decoder's own
// threads, with the device manager the Source Reader takes.
#include <windows.h>
#include <d3d11.h>
#include <mfobjects.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

#include "component/decoder_choice.h"
#include "component/media_foundation.h"

class DecodingDevice {
public:
    // Null where no such device can be made: no Direct3D 11 or no device manager (before
    // Windows 8), no adapter, or a failure on the way.
    static std::unique_ptr<DecodingDevice> create(const MediaFoundation& functions, HMONITOR monitor);

    AdapterKind adapter() const { return adapter_; }
    // The decoder profiles the card offers for pictures of this size; none without a video
    // device (Wine has none).
    std::vector<DecoderOffer> offers(int width, int height) const;
    IMFDXGIDeviceManager* manager() const { return manager_.Get(); }
    // Removed or reset since it was made: a driver update, a reset, sleep and resume.
    bool lost() const { return device_->GetDeviceRemovedReason() != S_OK; }

private:
    DecodingDevice() = default;

    AdapterKind adapter_ = AdapterKind::none;
    Microsoft::WRL::ComPtr<ID3D11Device> device_;
    Microsoft::WRL::ComPtr<IMFDXGIDeviceManager> manager_;
};
