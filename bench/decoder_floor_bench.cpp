// The platform's own floor under our playback: the same clip read through the same Source
// Reader in the layout playback negotiates (or, with --nv12, in NV12 whatever the decoder
// gives, converted by the platform) at its own pace (each picture at its time stamp,
// looping), every picture thrown away: no conversion, no drawing. Prints CPU seconds per
// 10 s, and the working set before reading and while reading, to set beside playback_bench's
// figures.
// Usage: decoder_floor_bench [--nv12] CLIP [SECONDS]
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "bench/process_figures.h"
#include "component/media_foundation.h"
#include "component/video_reader.h"

namespace {

// The working set is read once a second on the wall clock from 2 s into the clip's first pass
// until this long before its end, the stretch and moments playback_bench reads: the loop's
// seek back to the start leaves the platform's decoder larger, as a reopening does.
constexpr int64_t beforePassEnd = 500;  // milliseconds

OutputChoice platformNv12(const std::vector<GUID>&) { return OutputChoice{MFVideoFormat_NV12, PictureLayout::nv12}; }

}  // namespace

int main(int argc, char** argv)
{
    const bool nv12 = argc > 1 && std::string(argv[1]) == "--nv12";
    if (nv12)
        --argc, ++argv;
    if (argc < 2) {
        std::fprintf(stderr, "usage: decoder_floor_bench [--nv12] CLIP [SECONDS]\n");
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    std::wstring path(MultiByteToWideChar(CP_ACP, 0, argv[1], -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path.data(), int(path.size()));
    path.pop_back();

    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const double idleMB = workingSetMB();
    const MediaFoundation* functions = mediaFoundation();
    if (!functions)
        return 1;
    const char* layout = "";
    int pictures = 0, readings = 0;
    double cpu = 0, wall = 0, readingMB = 0;  // readingMB: the largest working set read in the first pass
    {
        MediaFoundationSession session(*functions);
        std::unique_ptr<VideoReader> reader =
            session.started() ? VideoReader::open(*functions, path, nv12 ? platformNv12 : chooseOutput) : nullptr;
        if (!reader) {
            std::fprintf(stderr, "decoder_floor_bench: cannot read %s\n", argv[1]);
            return 1;
        }
        const PictureLayout asked = reader->format().layout;
        layout = asked == PictureLayout::nv12 ? "NV12" : (asked == PictureLayout::i420 ? "I420" : "YV12");
        const double cpuBefore = cpuSeconds();
        const ULONGLONG from = GetTickCount64();
        int64_t passStart = 0, offset = 0, last = 0;  // milliseconds: when the pass started on the wall clock
        bool first = true;
        const int64_t readUntil = reader->duration() / 10000 - beforePassEnd;
        int64_t nextReading = 2000;
        // Sleeps until `due`, waking on the way for each reading of the first pass.
        auto waitUntil = [&](int64_t due) {
            for (;;) {
                const int64_t now = int64_t(GetTickCount64() - from);
                const bool reading = passStart == 0 && nextReading < readUntil && now < readUntil;
                if (reading && now >= nextReading) {
                    readingMB = std::max(readingMB, workingSetMB());
                    ++readings;
                    nextReading += 1000;
                    continue;
                }
                const int64_t wake = reading ? std::min(due, nextReading) : due;
                if (wake <= now)
                    return;
                Sleep(DWORD(wake - now));
            }
        };
        while (GetTickCount64() - from < ULONGLONG(seconds) * 1000) {
            VideoReader::Sample sample = reader->read();
            if (sample.outcome != VideoReader::Outcome::frame) {
                if (sample.outcome != VideoReader::Outcome::end || !reader->seek(0))
                    break;
                passStart += last + 33;
                first = true;
                continue;
            }
            const int64_t stamp = sample.time / 10000;
            if (first)
                offset = stamp, first = false;
            last = stamp - offset;
            {
                // Locked and let go before the wait, as playback lets go of each picture once drawn.
                DecodedFrame frame(std::move(sample.buffer), reader->format());
            }
            ++pictures;
            waitUntil(passStart + last);
        }
        cpu = cpuSeconds() - cpuBefore;
        wall = double(GetTickCount64() - from) / 1000.0;
    }
    std::printf("layout         %s\n", layout);
    std::printf("pictures       %d in %.1f s\n", pictures, wall);
    std::printf("cpu per 10 s   %.2f s\n", cpu * 10.0 / wall);
    std::printf("idle working   %.1f MB before reading\n", idleMB);
    std::printf("reading working %.1f MB (largest of %d readings in the first pass)\n", readingMB, readings);
    CoUninitialize();
    return 0;
}
