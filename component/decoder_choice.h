#pragma once
// Whether a file's pictures are decoded on the graphics card (the platform's decoder using
// DXVA) or on the processor, decided for each file as it opens. The card pays only where it
// is a real one, drives the monitor the wallpaper is on, and has a decoder for the file's
// codec at its size that gives NV12, the layout our converter reads; anything else keeps the
// processor, which decodes every file we play.
#include <windows.h>

#include <vector>

enum class AdapterKind { none, software, hardware };
enum class Decoding { processor, card };

// Software adapters (WARP, the Basic Render Driver) decode on the processor themselves.
AdapterKind adapterKind(UINT vendorId, UINT deviceId, UINT flags);

// A decoder profile the card offers: whether it gives NV12, and whether it has a
// configuration for the file's width and height.
struct DecoderOffer {
    GUID profile;
    bool nv12 = false;
    bool takesSize = false;
};

struct DecodingFacts {
    bool allowed = true;  // kv's "硬件解码" tick
    AdapterKind adapter = AdapterKind::none;
    std::vector<DecoderOffer> offers;
    GUID codec{};  // the video stream's subtype as stored in the file
};

// Whether the card is worth asking at all, before a device is made: kv allows it and some card
// decodes the codec.
bool worthAskingTheCard(bool allowed, const GUID& codec);
Decoding chooseDecoding(const DecodingFacts& facts);

// The card decoder profiles that decode `codec` at 8 bits, the depth we draw; none for a
// codec the card does not decode or a stream already decoded.
std::vector<GUID> profilesFor(const GUID& codec);
