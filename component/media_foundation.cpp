#include "component/media_foundation.h"

namespace {

MediaFoundation load(bool& complete)
{
    MediaFoundation functions{};
    HMODULE platform = LoadLibraryW(L"mfplat.dll");
    HMODULE readWrite = LoadLibraryW(L"mfreadwrite.dll");
    complete = platform && readWrite && bindFunction(platform, "MFStartup", functions.startup) &&
               bindFunction(platform, "MFShutdown", functions.shutdown) &&
               bindFunction(platform, "MFCreateAttributes", functions.createAttributes) &&
               bindFunction(platform, "MFCreateMediaType", functions.createMediaType) &&
               bindFunction(readWrite, "MFCreateSourceReaderFromURL", functions.createSourceReaderFromUrl);
    if (complete)
        bindFunction(platform, "MFCreateDXGIDeviceManager", functions.createDxgiDeviceManager);
    return functions;
}

}  // namespace

const MediaFoundation* mediaFoundation()
{
    static bool complete = false;
    static const MediaFoundation functions = load(complete);
    return complete ? &functions : nullptr;
}

MediaFoundationSession::MediaFoundationSession(const MediaFoundation& functions)
    : functions_(functions),
      started_(SUCCEEDED(functions.startup(MF_VERSION, MFSTARTUP_LITE)))
{}

MediaFoundationSession::~MediaFoundationSession()
{
    if (started_)
        functions_.shutdown();
}
