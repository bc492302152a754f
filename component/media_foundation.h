#pragma once
// Media Foundation, reached at run time so that the control still loads (and reports failure
// through its methods) on Windows editions without it.
#include <windows.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

// `function` = the library's export `name`; false when it has none.
template <class Function>
bool bindFunction(HMODULE library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

struct MediaFoundation {
    HRESULT(WINAPI* startup)(ULONG version, DWORD flags);
    HRESULT(WINAPI* shutdown)();
    HRESULT(WINAPI* createAttributes)(IMFAttributes** attributes, UINT32 size);
    HRESULT(WINAPI* createMediaType)(IMFMediaType** type);
    HRESULT(WINAPI* createSourceReaderFromUrl)(LPCWSTR url, IMFAttributes* attributes, IMFSourceReader** reader);
    // Windows 8 and later; null before, where decoding stays on the processor.
    HRESULT(WINAPI* createDxgiDeviceManager)(UINT* resetToken, IMFDXGIDeviceManager** manager);
};

// The functions, loaded on first use; null when mfplat.dll or mfreadwrite.dll or one of the
// functions is missing. The libraries then stay loaded for the life of the process: Media
// Foundation's own worker threads may outlive our last MFShutdown.
const MediaFoundation* mediaFoundation();

// MFStartup for the calling thread's stretch of work, MFShutdown at its end.
class MediaFoundationSession {
public:
    explicit MediaFoundationSession(const MediaFoundation& functions);
    ~MediaFoundationSession();
    MediaFoundationSession(const MediaFoundationSession&) = delete;
    MediaFoundationSession& operator=(const MediaFoundationSession&) = delete;
    bool started() const { return started_; }

private:
    const MediaFoundation& functions_;
    bool started_;
};
