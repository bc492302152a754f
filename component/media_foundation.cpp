#include "component/media_foundation.h"

namespace {

template <class Function>
bool bind(HMODULE library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

MediaFoundation load(bool& complete)
{
    MediaFoundation functions{};
    HMODULE platform = LoadLibraryW(L"mfplat.dll");
    HMODULE readWrite = LoadLibraryW(L"mfreadwrite.dll");
    complete = platform && readWrite && bind(platform, "MFStartup", functions.startup) &&
               bind(platform, "MFShutdown", functions.shutdown) &&
               bind(platform, "MFCreateAttributes", functions.createAttributes) &&
               bind(platform, "MFCreateMediaType", functions.createMediaType) &&
               bind(readWrite, "MFCreateSourceReaderFromURL", functions.createSourceReaderFromUrl);
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
