// Playback cost of our APlayer.dll: a clip played full screen in an "AtlAxWin" host, as the
// wallpaper plays it. Prints first-picture latency from Open, CPU seconds per 10 s of
// playback (all threads of this process, decoding included, and the whole machine's while
// seen) while the picture is seen and while a window of this process covers the whole
// screen (each stretch timed once playback is seen to move, or to hold still), how soon
// pictures flow again when a cover goes (one of this process, whose going the watch is told
// of, and one of another process, which under Wine only its re-check sees), and the working
// set with the control hosted before any file and during steady playback.
// Usage: playback_bench CLIP [SECONDS]   (APlayer.dll is taken from component\ beside it)
//        playback_bench --cover          (a cover over the screen until the benchmark lets it go)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/process_figures.h"
#include "tests/component/cover_window.h"
#include "tests/component/hosted_control.h"
#include "tests/driver/processor_time.h"

namespace {

constexpr ULONGLONG beforePassEnd = 500;  // milliseconds: the last reading of memory comes before the loop's seek
constexpr int resumeRounds = 10;
const wchar_t coverShown[] = L"kv_playback_bench_cover_shown";
const wchar_t coverGo[] = L"kv_playback_bench_cover_go";

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// Sleeps until a message arrives rather than polling, so the pump itself costs no CPU.
void pumpMessagesFor(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

bool isDark(COLORREF colour) { return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 24; }

// Pumps messages until `event` is set.
void pumpUntil(HANDLE event)
{
    while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

// The --cover process: a window over the whole screen from when it says so until told to go.
// It never takes the focus, so its going hands none to the benchmark's window: the watch is
// told of its own process's activation, and kv.exe has no window to be activated.
int showCover()
{
    const Handle shown(OpenEventW(EVENT_MODIFY_STATE, FALSE, coverShown)), go(OpenEventW(SYNCHRONIZE, FALSE, coverGo));
    if (!shown || !go)
        return 1;
    HWND cover = CreateWindowExA(WS_EX_NOACTIVATE, "Static", nullptr, WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                 GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!cover)
        return 1;
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    SetEvent(shown.get());
    pumpUntil(go.get());
    DestroyWindow(cover);
    return 0;
}

// The position stays where it is for 600 ms on end (more than a picture's time and the
// watch's re-check), within `milliseconds`.
bool holdsStill(const AutomationObject& player, DWORD milliseconds = 5000)
{
    int64_t held = player.invokeNumber("GetPosition");
    const ULONGLONG start = GetTickCount64();
    ULONGLONG since = start;
    for (ULONGLONG now = start; now - start < milliseconds; now = GetTickCount64()) {
        const int64_t position = player.invokeNumber("GetPosition");
        if (position != held) {
            held = position;
            since = now;
        }
        if (now - since >= 600)
            return true;
        pumpMessagesFor(5);
    }
    return false;
}

// The position moves on from where it is now, within `milliseconds`.
bool advances(const AutomationObject& player, DWORD milliseconds = 3000)
{
    const int64_t from = player.invokeNumber("GetPosition");
    const ULONGLONG start = GetTickCount64();
    while (player.invokeNumber("GetPosition") == from) {
        if (GetTickCount64() - start >= milliseconds)
            return false;
        pumpMessagesFor(1);
    }
    return true;
}

// A full-screen cover, of this process or of another, and how long after it goes the
// position moves on: covered until it holds still, then let go at moments spread over the
// watch's half-second re-check. A round where it never held still (the cover went unnoticed,
// so "resuming" would read one picture's time) or never moved on within 3 s is counted apart,
// not averaged in.
struct Resume {
    ULONGLONG average = 0, most = 0;
    int measured = 0, neverStill = 0, neverResumed = 0;
    bool coverFailed = false;  // the cover process could not be started
};

Resume measureResume(const AutomationObject& player, bool otherProcess)
{
    const Handle shown(CreateEventW(nullptr, TRUE, FALSE, coverShown)), go(CreateEventW(nullptr, TRUE, FALSE, coverGo));
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring command = L"\"" + std::wstring(self) + L"\" --cover";
    Resume resume;
    ULONGLONG sum = 0;
    for (int round = 0; round < resumeRounds; ++round) {
        ResetEvent(shown.get());
        ResetEvent(go.get());
        std::unique_ptr<CoverWindow> ownCover;
        Handle process;
        if (otherProcess) {
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION started{};
            std::wstring line = command;
            if (!CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
                resume.coverFailed = true;
                return resume;
            }
            CloseHandle(started.hThread);
            process.reset(started.hProcess);
            pumpUntil(shown.get());
        } else {
            ownCover =
                std::make_unique<CoverWindow>(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        }
        const bool still = holdsStill(player);
        pumpMessagesFor(DWORD(round * 500 / resumeRounds));
        const int64_t held = player.invokeNumber("GetPosition");
        SetEvent(go.get());
        ownCover.reset();
        const ULONGLONG from = GetTickCount64();
        while (player.invokeNumber("GetPosition") == held && GetTickCount64() - from < 3000)
            pumpMessagesFor(1);
        const ULONGLONG took = GetTickCount64() - from;
        if (!still) {
            ++resume.neverStill;
        } else if (took >= 3000) {
            ++resume.neverResumed;
        } else {
            sum += took;
            resume.most = std::max(resume.most, took);
            ++resume.measured;
        }
        if (process)
            WaitForSingleObject(process.get(), 5000);
        advances(player);  // playing again before the next cover
    }
    resume.average = resume.measured ? sum / resume.measured : 0;
    return resume;
}

void printResume(const char* label, const Resume& resume, const char* cover)
{
    if (resume.coverFailed) {
        std::printf("%-14s failed: the cover process did not start\n", label);
        return;
    }
    // No round measured: no figure, rather than a 0 that would read as the best.
    const std::string average = resume.measured ? std::to_string(resume.average) : "-";
    const std::string most = resume.measured ? std::to_string(resume.most) : "-";
    std::printf(
        "%-14s %s ms on average, %s ms at most, a cover of %s (%d of %d rounds; never held still %d, "
        "never went on within 3 s %d)\n",
        label, average.c_str(), most.c_str(), cover, resume.measured, resumeRounds, resume.neverStill,
        resume.neverResumed);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--cover")
        return showCover();
    if (argc < 2) {
        std::fprintf(stderr, "usage: playback_bench CLIP [SECONDS]\n");
        return 2;
    }
    const std::string clip = argv[1];
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    OleInitialize(nullptr);

    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const ComponentLibrary library;
    auto hosted = std::make_unique<HostedControl>(library, width, height);
    if (!hosted->ready()) {
        std::fprintf(stderr, "playback_bench: no control (APlayer.dll or atl.dll missing)\n");
        return 1;
    }
    const AutomationObject& player = hosted->player();
    // The process with its window up and the control in it, before any file: the window
    // system's share, which the decoder floor's process does not carry.
    pumpMessagesFor(500);
    const double hostedMB = workingSetMB();

    int32_t loopItem = 8, muteItem = 119, on = 1;
    player.invokeNumber("SetConfig", {loopItem, on});
    player.invokeNumber("SetConfig", {muteItem, on});

    // First picture: from Open until the screen is no longer dark. The first Open in a
    // process also pays for starting the decoders (cold); the second is the warm figure.
    std::string fileName = clip;
    auto firstPicture = [&]() -> long long {
        const ULONGLONG opened = GetTickCount64();
        player.invoke("Open", {fileName});
        player.invokeNumber("Play");
        while (GetTickCount64() - opened < 5000) {
            if (!isDark(hosted->pixel(width / 2, height / 2)) || !isDark(hosted->pixel(width / 4, height / 4)))
                return static_cast<long long>(GetTickCount64() - opened);
            pumpMessagesFor(1);
        }
        return -1;
    };
    // The first opening, then steady playback, seen and covered. Memory is read here, after
    // one opening as the decoder floor makes it: each later opening leaves the platform's
    // decoder some 15 to 20 MB larger, in the floor's own process too, and so does the loop's
    // seek back to the start. So it is read in the clip's first pass, once a second from 2 s
    // after the first picture until just before the pass ends, the stretch the floor reads.
    const long long cold = firstPicture();
    const ULONGLONG readUntil = GetTickCount64() + ULONGLONG(player.invokeNumber("GetDuration")) - beforePassEnd;
    const bool seenPlays = advances(player);
    const double cpuBefore = cpuSeconds(), machineBefore = kvtest::machineProcessorSeconds();
    const ULONGLONG playFrom = GetTickCount64();
    double playingMB = 0;  // the largest working set of steady playback
    int readings = 0;
    for (int second = 0; second < seconds; ++second) {
        pumpMessagesFor(1000);
        if (GetTickCount64() < readUntil) {
            playingMB = std::max(playingMB, workingSetMB());
            ++readings;
        }
    }
    const double cpu = cpuSeconds() - cpuBefore;
    const double machine = machineBefore < 0 ? -1 : kvtest::machineProcessorSeconds() - machineBefore;
    const double wall = double(GetTickCount64() - playFrom) / 1000.0;
    const int state = int(player.invokeNumber("GetState"));

    // Covered: a moment to notice, then the same stretch again.
    double unseenCpu = 0, unseenWall = 0;
    bool coveredStill = false;
    {
        CoverWindow cover(0, 0, width, height);
        coveredStill = holdsStill(player);
        const double unseenBefore = cpuSeconds();
        const ULONGLONG unseenFrom = GetTickCount64();
        pumpMessagesFor(DWORD(seconds) * 1000);
        unseenCpu = cpuSeconds() - unseenBefore;
        unseenWall = double(GetTickCount64() - unseenFrom) / 1000.0;
    }

    const Resume ownResume = measureResume(player, false), otherResume = measureResume(player, true);

    player.invokeNumber("Close");
    // The dark fill is painted again before the next first picture is looked for.
    for (const ULONGLONG closed = GetTickCount64();
         !isDark(hosted->pixel(width / 2, height / 2)) && GetTickCount64() - closed < 5000;)
        pumpMessagesFor(1);
    const long long warm = firstPicture();
    // The wallpaper's road opens the file twice in a row: the GUI thread must not wait for
    // the first opening to finish.
    const ULONGLONG twiceFrom = GetTickCount64();
    player.invoke("Open", {fileName});
    player.invoke("Open", {fileName});
    player.invokeNumber("Play");
    const ULONGLONG twice = GetTickCount64() - twiceFrom;

    std::printf("clip %s  video %dx%d  screen %dx%d  state %d\n", clip.c_str(),
                int(player.invokeNumber("GetVideoWidth")), int(player.invokeNumber("GetVideoHeight")), width, height,
                state);
    std::printf("first picture  %lld ms cold, %lld ms warm (-1: none within 5 s)\n", cold, warm);
    std::printf("open twice     %llu ms on the GUI thread\n", twice);
    std::printf("cpu per 10 s   %.2f s%s\n", cpu * 10.0 / wall, seenPlays ? "" : " (not playing: no figure)");
    if (machine >= 0)
        std::printf("machine per 10 s %.2f s (whole machine while seen)\n", machine * 10.0 / wall);
    std::printf("unseen per 10 s %.3f s%s\n", unseenCpu * 10.0 / unseenWall,
                coveredStill ? "" : " (never held still under the cover: no figure)");
    printResume("resume", ownResume, "this process");
    printResume("resume other", otherResume, "another process");
    std::printf("hosted working %.1f MB before any file\n", hostedMB);
    std::printf("playing working %.1f MB (largest of %d readings in the first pass)\n", playingMB, readings);

    player.invokeNumber("Close");
    hosted.reset();
    OleUninitialize();
    const bool resumed =
        !otherResume.coverFailed && ownResume.measured == resumeRounds && otherResume.measured == resumeRounds;
    return cold >= 0 && warm >= 0 && seenPlays && coveredStill && resumed ? 0 : 1;
}
