#include <gtest/gtest.h>

#include <mfapi.h>

#include "component/decoder_choice.h"

namespace {

// The card's H.264 and HEVC (main, 8-bit) decoder profiles.
constexpr GUID h264{0x1b81be68, 0xa0c7, 0x11d3, {0xb9, 0x84, 0x00, 0xc0, 0x4f, 0x2e, 0x73, 0xc5}};
constexpr GUID hevc{0x5b11d51b, 0x2f4c, 0x4452, {0xbc, 0xc3, 0x09, 0xf2, 0xa1, 0x16, 0x0c, 0xc0}};
constexpr GUID hevc10{0x107af0e0, 0xef1a, 0x4d19, {0xab, 0xa8, 0x67, 0xa1, 0x63, 0x07, 0x3d, 0x13}};

TEST(DecoderChoice, TheCardDecodesOnlyWhereItIsARealOneWithAnNv12DecoderForTheCodecAtItsSize)
{
    const DecoderOffer h264Offer{h264, true, true};
    struct Case {
        const char* what;
        bool allowed;
        AdapterKind adapter;
        std::vector<DecoderOffer> offers;
        GUID codec;
        Decoding expected;
    } cases[] = {
        {"H.264 on a card that decodes it",
         true,
         AdapterKind::hardware,
         {h264Offer},
         MFVideoFormat_H264,
         Decoding::card},
        {"kv's tick unticked", false, AdapterKind::hardware, {h264Offer}, MFVideoFormat_H264, Decoding::processor},
        {"a software adapter", true, AdapterKind::software, {h264Offer}, MFVideoFormat_H264, Decoding::processor},
        {"no adapter", true, AdapterKind::none, {h264Offer}, MFVideoFormat_H264, Decoding::processor},
        {"no video device (Wine)", true, AdapterKind::hardware, {}, MFVideoFormat_H264, Decoding::processor},
        {"HEVC where only H.264 is offered",
         true,
         AdapterKind::hardware,
         {h264Offer},
         MFVideoFormat_HEVC,
         Decoding::processor},
        {"HEVC among several",
         true,
         AdapterKind::hardware,
         {h264Offer, {hevc, true, true}},
         MFVideoFormat_HEVC,
         Decoding::card},
        {"HEVC offered at 10 bits only",
         true,
         AdapterKind::hardware,
         {{hevc10, false, true}},
         MFVideoFormat_HEVC,
         Decoding::processor},
        {"a size the decoder does not take",
         true,
         AdapterKind::hardware,
         {{h264, true, false}},
         MFVideoFormat_H264,
         Decoding::processor},
        {"a decoder without NV12",
         true,
         AdapterKind::hardware,
         {{h264, false, true}},
         MFVideoFormat_H264,
         Decoding::processor},
        {"a stream already decoded (Wine's source)",
         true,
         AdapterKind::hardware,
         {h264Offer},
         MFVideoFormat_I420,
         Decoding::processor},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseDecoding({c.allowed, c.adapter, c.offers, c.codec}), c.expected) << c.what;
        // No device is made where the answer is plain without one.
        if (!worthAskingTheCard(c.allowed, c.codec)) {
            EXPECT_EQ(c.expected, Decoding::processor) << c.what;
        }
    }
}

}  // namespace
