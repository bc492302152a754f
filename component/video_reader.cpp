#include "component/video_reader.h"

#include <mfapi.h>
#include <mferror.h>
#include <propidl.h>

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD videoStream = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);

void unpack(UINT64 packed, int& high, int& low)
{
    high = static_cast<int>(packed >> 32);
    low = static_cast<int>(packed & 0xFFFFFFFFu);
}

// The subtypes of the video stream's own output types, in the decoder's order.
std::vector<GUID> nativeSubtypes(IMFSourceReader& reader)
{
    std::vector<GUID> subtypes;
    ComPtr<IMFMediaType> type;
    for (DWORD i = 0; SUCCEEDED(reader.GetNativeMediaType(videoStream, i, &type)); ++i) {
        GUID subtype{};
        if (SUCCEEDED(type->GetGUID(MF_MT_SUBTYPE, &subtype)))
            subtypes.push_back(subtype);
        type.Reset();
    }
    return subtypes;
}

// The reader of the file's video stream alone.
ComPtr<IMFSourceReader> videoStreamReader(const MediaFoundation& functions, const std::wstring& path,
                                          IMFAttributes* attributes)
{
    ComPtr<IMFSourceReader> reader;
    if (FAILED(functions.createSourceReaderFromUrl(path.c_str(), attributes, &reader)))
        return nullptr;
    reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    if (FAILED(reader->SetStreamSelection(videoStream, TRUE)))
        return nullptr;
    return reader;
}

StoredVideo storedVideo(IMFSourceReader& reader)
{
    StoredVideo video;
    ComPtr<IMFMediaType> type;
    if (FAILED(reader.GetNativeMediaType(videoStream, 0, &type)))
        return video;
    type->GetGUID(MF_MT_SUBTYPE, &video.codec);
    UINT64 size = 0;
    if (SUCCEEDED(type->GetUINT64(MF_MT_FRAME_SIZE, &size)))
        unpack(size, video.width, video.height);
    return video;
}

}  // namespace

DecodedFrame::DecodedFrame(ComPtr<IMFMediaBuffer> buffer, const VideoFormat& format) : buffer_(std::move(buffer))
{
    BYTE* start = nullptr;
    LONG pitch = 0;
    if (SUCCEEDED(buffer_.As(&buffer2d_)) && SUCCEEDED(buffer2d_->Lock2D(&start, &pitch)) && pitch > 0) {
        // A 2-D buffer tells its own row pitch; the chroma plane follows the padded luma plane.
    } else {
        if (buffer2d_)
            buffer2d_.Reset();
        DWORD length = 0;
        if (FAILED(buffer_->Lock(&start, nullptr, &length)))
            return;
        pitch = format.stride;
        const DWORD needed = DWORD(pitch) * DWORD(format.frameHeight) * 3 / 2;
        if (length < needed) {
            buffer_->Unlock();
            return;
        }
    }
    // The colour follows the padded luma plane: interleaved pairs, or two planes of half the
    // pitch, U first in I420 and V first in YV12.
    const BYTE* chroma = start + ptrdiff_t(pitch) * format.frameHeight;
    image_.luma = start + ptrdiff_t(format.top) * pitch + format.left;
    if (format.layout == PictureLayout::nv12) {
        image_.chroma = chroma + ptrdiff_t(format.top / 2) * pitch + (format.left & ~1);
    } else {
        image_.chromaStride = pitch / 2;
        const BYTE* first = chroma + ptrdiff_t(format.top / 2) * image_.chromaStride + format.left / 2;
        const BYTE* second = first + ptrdiff_t(image_.chromaStride) * (format.frameHeight / 2);
        image_.u = format.layout == PictureLayout::i420 ? first : second;
        image_.v = format.layout == PictureLayout::i420 ? second : first;
    }
    image_.stride = pitch;
    image_.width = format.width;
    image_.height = format.height;
    image_.oddLeft = (format.left & 1) != 0;
    image_.rotation = format.rotation;
}

DecodedFrame::~DecodedFrame()
{
    if (!image_.luma)
        return;
    if (buffer2d_) {
        buffer2d_->Unlock2D();
    } else {
        buffer_->Unlock();
    }
}

std::unique_ptr<VideoReader> VideoReader::open(const MediaFoundation& functions, const std::wstring& path,
                                               OutputChoice (*choose)(const std::vector<GUID>&))
{
    return open(functions, path, nullptr, choose);
}

// The decoder is chosen only when the output type is set, so the stream can be looked at
// first without decoding anything. The card's reader is another one, given the card's device
// manager as it is made.
std::unique_ptr<VideoReader> VideoReader::open(const MediaFoundation& functions, const std::wstring& path,
                                               const CardFor& cardFor, OutputChoice (*choose)(const std::vector<GUID>&))
{
    ComPtr<IMFSourceReader> reader = videoStreamReader(functions, path, nullptr);
    if (!reader)
        return nullptr;
    if (std::unique_ptr<DecodingDevice> device = cardFor ? cardFor(storedVideo(*reader.Get())) : nullptr) {
        if (std::unique_ptr<VideoReader> onCard = openOnCard(functions, path, std::move(device)))
            return onCard;
    }
    const OutputChoice output = choose(nativeSubtypes(*reader.Get()));
    return configure(functions, nullptr, std::move(reader), output);
}

// NV12 is the card's only layout.
std::unique_ptr<VideoReader> VideoReader::openOnCard(const MediaFoundation& functions, const std::wstring& path,
                                                     std::unique_ptr<DecodingDevice> device)
{
    ComPtr<IMFAttributes> attributes;
    if (FAILED(functions.createAttributes(&attributes, 2)) ||
        FAILED(attributes->SetUnknown(MF_SOURCE_READER_D3D_MANAGER, device->manager())) ||
        FAILED(attributes->SetUINT32(MF_READWRITE_ENABLE_HARDWARE_TRANSFORMS, TRUE))) {
        return nullptr;
    }
    ComPtr<IMFSourceReader> reader = videoStreamReader(functions, path, attributes.Get());
    if (!reader)
        return nullptr;
    return configure(functions, std::move(device), std::move(reader), {MFVideoFormat_NV12, PictureLayout::nv12});
}

std::unique_ptr<VideoReader> VideoReader::configure(const MediaFoundation& functions,
                                                    std::unique_ptr<DecodingDevice> device,
                                                    ComPtr<IMFSourceReader> reader, const OutputChoice& output)
{
    ComPtr<IMFMediaType> type;
    if (FAILED(functions.createMediaType(&type)))
        return nullptr;
    type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    type->SetGUID(MF_MT_SUBTYPE, output.subtype);
    if (FAILED(reader->SetCurrentMediaType(videoStream, nullptr, type.Get())))
        return nullptr;

    std::unique_ptr<VideoReader> result(new VideoReader(std::move(device), std::move(reader), output.layout));
    if (!result->readFormat())
        return nullptr;
    PROPVARIANT duration;
    PropVariantInit(&duration);
    if (SUCCEEDED(result->reader_->GetPresentationAttribute(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE),
                                                            MF_PD_DURATION, &duration)) &&
        duration.vt == VT_UI8) {
        result->duration_ = static_cast<int64_t>(duration.uhVal.QuadPart);
    }
    PropVariantClear(&duration);
    return result;
}

VideoReader::VideoReader(std::unique_ptr<DecodingDevice> device, ComPtr<IMFSourceReader> reader, PictureLayout layout)
    : device_(std::move(device)),
      reader_(std::move(reader)),
      layout_(layout)
{}

bool VideoReader::readFormat()
{
    ComPtr<IMFMediaType> type;
    if (FAILED(reader_->GetCurrentMediaType(videoStream, &type)))
        return false;
    const std::optional<VideoFormat> format = videoFormat(*type.Get(), layout_);
    if (!format)
        return false;
    format_ = *format;
    return true;
}

std::optional<VideoFormat> videoFormat(IMFMediaType& type, PictureLayout layout)
{
    UINT64 size = 0;
    if (FAILED(type.GetUINT64(MF_MT_FRAME_SIZE, &size)))
        return std::nullopt;
    VideoFormat format;
    format.layout = layout;
    unpack(size, format.frameWidth, format.frameHeight);
    if (format.frameWidth <= 0 || format.frameHeight <= 0)
        return std::nullopt;
    UINT32 stride = 0;
    format.stride =
        SUCCEEDED(type.GetUINT32(MF_MT_DEFAULT_STRIDE, &stride)) && INT32(stride) > 0 ? int(stride) : format.frameWidth;
    format.width = format.frameWidth;
    format.height = format.frameHeight;
    MFVideoArea aperture{};
    if (SUCCEEDED(type.GetBlob(MF_MT_MINIMUM_DISPLAY_APERTURE, reinterpret_cast<UINT8*>(&aperture), sizeof(aperture),
                               nullptr)) &&
        aperture.Area.cx > 0 && aperture.Area.cy > 0) {
        format.left = aperture.OffsetX.value;
        format.top = aperture.OffsetY.value;
        format.width = aperture.Area.cx;
        format.height = aperture.Area.cy;
        if (format.left < 0 || format.top < 0 || format.left + format.width > format.frameWidth ||
            format.top + format.height > format.frameHeight) {
            return std::nullopt;
        }
    }
    format.rotation = rotationFromDegrees(MFGetAttributeUINT32(&type, videoRotation, 0));
    const UINT32 matrix = MFGetAttributeUINT32(&type, MF_MT_YUV_MATRIX, 0);
    const UINT32 range = MFGetAttributeUINT32(&type, MF_MT_VIDEO_NOMINAL_RANGE, 0);
    // The matrix follows the stored height: a turned HD picture is HD too.
    format.coefficients = yuvCoefficients(chooseYuvMatrix(matrix, format.height), range == MFNominalRange_0_255);
    return format;
}

VideoReader::Sample VideoReader::read()
{
    Sample result;
    for (;;) {
        DWORD flags = 0;
        LONGLONG time = 0;
        ComPtr<IMFSample> sample;
        const HRESULT read = reader_->ReadSample(videoStream, 0, nullptr, &flags, &time, &sample);
        if (FAILED(read) || (flags & MF_SOURCE_READERF_ERROR)) {
            // On the card any failure may be the card's: the file may yet play on the processor.
            result.outcome = onCard() ? Outcome::cardLost : Outcome::failed;
            result.lostDevice =
                onCard() && (device_->lost() || read == DXGI_ERROR_DEVICE_REMOVED || read == DXGI_ERROR_DEVICE_RESET);
            return result;
        }
        if ((flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) && !readFormat())
            return result;
        if (flags & MF_SOURCE_READERF_ENDOFSTREAM) {
            result.outcome = Outcome::end;
            return result;
        }
        if (!sample)
            continue;  // a stream tick: no picture this time
        if (FAILED(sample->ConvertToContiguousBuffer(&result.buffer)))
            return result;
        LONGLONG length = 0;
        if (SUCCEEDED(sample->GetSampleDuration(&length)))
            result.length = length;
        result.time = time;
        result.outcome = Outcome::frame;
        return result;
    }
}

bool VideoReader::seek(int64_t time)
{
    PROPVARIANT position;
    PropVariantInit(&position);
    position.vt = VT_I8;
    position.hVal.QuadPart = time;
    const bool done = SUCCEEDED(reader_->SetCurrentPosition(GUID_NULL, position));
    PropVariantClear(&position);
    return done;
}
