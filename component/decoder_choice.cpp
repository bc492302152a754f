#include "component/decoder_choice.h"

#include <dxgi.h>
#include <mfapi.h>

#include <algorithm>

namespace {

constexpr UINT microsoftVendor = 0x1414;
constexpr UINT basicRenderDriver = 0x8C;

// The DXVA decoder profiles (the same numbers for Direct3D 9, 11 and 12).
constexpr GUID h264VldNoFgt{0x1b81be68, 0xa0c7, 0x11d3, {0xb9, 0x84, 0x00, 0xc0, 0x4f, 0x2e, 0x73, 0xc5}};
constexpr GUID hevcVldMain{0x5b11d51b, 0x2f4c, 0x4452, {0xbc, 0xc3, 0x09, 0xf2, 0xa1, 0x16, 0x0c, 0xc0}};
constexpr GUID vp9VldProfile0{0x463707f8, 0xa1d0, 0x4585, {0x87, 0x6d, 0x83, 0xaa, 0x6d, 0x60, 0xb8, 0x9e}};
constexpr GUID av1VldProfile0{0xb8be4ccb, 0xcf53, 0x46ba, {0x8d, 0x59, 0xd6, 0xb8, 0xa6, 0xda, 0x5d, 0x2a}};
constexpr GUID mpeg2Vld{0xee27417f, 0x5e28, 0x4e65, {0xbe, 0xea, 0x1d, 0x26, 0xb5, 0x08, 0xad, 0xc9}};
constexpr GUID mpeg2and1Vld{0x86695f12, 0x340e, 0x4f04, {0x9f, 0xd3, 0x92, 0x53, 0xdd, 0x32, 0x74, 0x60}};
constexpr GUID vc1D2010{0x1b81bea4, 0xa0c7, 0x11d3, {0xb9, 0x84, 0x00, 0xc0, 0x4f, 0x2e, 0x73, 0xc5}};

}  // namespace

AdapterKind adapterKind(UINT vendorId, UINT deviceId, UINT flags)
{
    if ((flags & DXGI_ADAPTER_FLAG_SOFTWARE) || (vendorId == microsoftVendor && deviceId == basicRenderDriver))
        return AdapterKind::software;
    return AdapterKind::hardware;
}

std::vector<GUID> profilesFor(const GUID& codec)
{
    if (codec == MFVideoFormat_H264)
        return {h264VldNoFgt};
    if (codec == MFVideoFormat_HEVC)
        return {hevcVldMain};
    if (codec == MFVideoFormat_VP90)
        return {vp9VldProfile0};
    if (codec == MFVideoFormat_AV1)
        return {av1VldProfile0};
    if (codec == MFVideoFormat_MPEG2)
        return {mpeg2Vld, mpeg2and1Vld};
    if (codec == MFVideoFormat_WVC1)
        return {vc1D2010};
    return {};
}

bool worthAskingTheCard(bool allowed, const GUID& codec) { return allowed && !profilesFor(codec).empty(); }

Decoding chooseDecoding(const DecodingFacts& facts)
{
    if (!worthAskingTheCard(facts.allowed, facts.codec) || facts.adapter != AdapterKind::hardware)
        return Decoding::processor;
    const std::vector<GUID> wanted = profilesFor(facts.codec);
    const bool offered = std::any_of(facts.offers.begin(), facts.offers.end(), [&](const DecoderOffer& offer) {
        return offer.nv12 && offer.takesSize && std::find(wanted.begin(), wanted.end(), offer.profile) != wanted.end();
    });
    return offered ? Decoding::card : Decoding::processor;
}
