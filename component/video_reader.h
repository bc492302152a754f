#pragma once
// The first video stream of a media file, decoded by Media Foundation's Source Reader to
// 8-bit 4:2:0 pictures (the decoder's own layout where we draw it, output_layout.h) with
// their time stamps. Used on one thread (the playback worker).
#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "component/colour_matrix.h"
#include "component/decoding_device.h"
#include "component/media_foundation.h"
#include "component/nv12_picture.h"
#include "component/output_layout.h"

struct VideoFormat {
    int frameWidth = 0, frameHeight = 0;  // decoded buffer, may carry padding rows (1920 x 1088)
    int stride = 0;                       // bytes per luma row when the buffer does not say
    PictureLayout layout = PictureLayout::nv12;
    int left = 0, top = 0, width = 0, height = 0;  // the part shown (display aperture), as stored
    Rotation rotation = Rotation::none;            // the turn that makes it upright
    YuvCoefficients coefficients{};
};

// MF_MT_VIDEO_ROTATION: Windows 8 and later say how a picture was turned; the headers give it
// only to programs made for Windows 8, and we run on Windows 7 too (where it is never set).
inline constexpr GUID videoRotation{0xc380465d, 0x2271, 0x428c, {0x9b, 0x83, 0xec, 0xea, 0x3b, 0x4a, 0x85, 0xc1}};

// The pictures a media type describes, in `layout`; none when it gives no usable size.
std::optional<VideoFormat> videoFormat(IMFMediaType& type, PictureLayout layout);

// One decoded picture, its buffer locked for reading while this lives.
class DecodedFrame {
public:
    DecodedFrame(Microsoft::WRL::ComPtr<IMFMediaBuffer> buffer, const VideoFormat& format);
    ~DecodedFrame();
    DecodedFrame(const DecodedFrame&) = delete;
    DecodedFrame& operator=(const DecodedFrame&) = delete;
    bool valid() const { return image_.luma != nullptr; }
    const Nv12Image& image() const { return image_; }

private:
    Microsoft::WRL::ComPtr<IMFMediaBuffer> buffer_;
    Microsoft::WRL::ComPtr<IMF2DBuffer> buffer2d_;
    Nv12Image image_{};
};

// The video stream as the file stores it, before any decoder.
struct StoredVideo {
    GUID codec{};
    int width = 0, height = 0;
};

class VideoReader {
public:
    // A device for the card to decode the stream as stored on, or null for the processor.
    using CardFor = std::function<std::unique_ptr<DecodingDevice>(const StoredVideo&)>;

    // Null when the file cannot be opened or holds no video stream that decodes to a layout we
    // draw. `cardFor`, where given, says whether the card decodes it; a card reader that does
    // not open leaves it to the processor. `choose` picks the processor's layout from the
    // decoder's own (the decoder floor compares them).
    static std::unique_ptr<VideoReader> open(const MediaFoundation& functions, const std::wstring& path,
                                             const CardFor& cardFor,
                                             OutputChoice (*choose)(const std::vector<GUID>&) = chooseOutput);
    static std::unique_ptr<VideoReader> open(const MediaFoundation& functions, const std::wstring& path,
                                             OutputChoice (*choose)(const std::vector<GUID>&) = chooseOutput);

    int64_t duration() const { return duration_; }  // 100 ns units, 0 when unknown
    const VideoFormat& format() const { return format_; }

    bool onCard() const { return device_ != nullptr; }

    // cardLost: reading failed on the card; lostDevice says whether its device went with it.
    enum class Outcome { frame, end, failed, cardLost };
    struct Sample {
        Outcome outcome = Outcome::failed;
        int64_t time = 0;    // 100 ns units
        int64_t length = 0;  // 100 ns units, 0 when unknown
        bool lostDevice = false;
        Microsoft::WRL::ComPtr<IMFMediaBuffer> buffer;
    };
    Sample read();
    bool seek(int64_t time);  // 100 ns units; the next read starts at the key frame at or before it

private:
    VideoReader(std::unique_ptr<DecodingDevice> device, Microsoft::WRL::ComPtr<IMFSourceReader> reader,
                PictureLayout layout);
    static std::unique_ptr<VideoReader> configure(const MediaFoundation& functions,
                                                  std::unique_ptr<DecodingDevice> device,
                                                  Microsoft::WRL::ComPtr<IMFSourceReader> reader,
                                                  const OutputChoice& output);
    static std::unique_ptr<VideoReader> openOnCard(const MediaFoundation& functions, const std::wstring& path,
                                                   std::unique_ptr<DecodingDevice> device);
    bool readFormat();

    std::unique_ptr<DecodingDevice> device_;  // before the reader, which decodes on it
    Microsoft::WRL::ComPtr<IMFSourceReader> reader_;
    PictureLayout layout_;
    int64_t duration_ = 0;
    VideoFormat format_;
};
