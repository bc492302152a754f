// kv.exe's cost as its user has it: the real kv.exe with our APlayer.dll plays the clip
// remembered in kv.ini from start-up, full screen. The simulated shell runs without a desktop
// program window, so the player window stays top-level, where Wine draws it and the screen's
// pixels show it playing. Prints, for a stretch timed once the picture is seen to move, CPU
// seconds per 10 s of kv.exe and of the whole machine (X server and Wine server included), and
// kv.exe's resident memory at the end and at its most since start-up (opening included); with
// READ_EVERY, also its resident memory every that many seconds on the way (a short clip looping
// for long shows whether anything grows with the loops).
// Usage: wallpaper_bench CLIP [SECONDS [READ_EVERY]]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/driver/kv_driver.h"
#include "tests/driver/processor_time.h"
#include "tests/driver/resident_memory.h"
#include "tests/driver/screen_motion.h"
#include "tests/e2e/wallpaper/fake_shell_session.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: wallpaper_bench CLIP [SECONDS [READ_EVERY]]\n");
        return 2;
    }
    const std::string clip = argv[1];
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    const int readEvery = argc > 3 ? std::atoi(argv[3]) : 0;
    FakeShellSession shell("--no-progman");
    if (!shell.ready()) {
        std::fprintf(stderr, "wallpaper_bench: the simulated shell did not start\n");
        return 1;
    }
    kvtest::ProgramDirectory directory;
    directory.copyInOurComponent();
    directory.writeFile("kv.ini", "[文件名]\r\n文件名=" + clip + "\r\n");
    kvtest::Process kv = kvtest::Process::start(directory);
    const RECT screen{0, 0, kvtest::screenWidth(), kvtest::screenHeight()};
    if (!kv.waitForWindow("pmrq", "pmrq", 15000) || !kvtest::playsOn(screen)) {
        std::printf("%s: not seen playing: no figure\n", clip.c_str());
        return 1;
    }
    const kvtest::ProcessorTime kvTime(kv.id(), directory.path());
    const double kvBefore = kvTime.seconds(), machineBefore = kvtest::machineProcessorSeconds();
    const ULONGLONG from = GetTickCount64();
    for (int second = 1; second <= seconds; ++second) {
        Sleep(1000);
        if (readEvery > 0 && second % readEvery == 0)
            std::printf("at %4d s resident %.0f MB\n", second, kvtest::residentMemory(kv.id(), directory.path()).nowMB);
    }
    const double kvCpu = kvTime.seconds() - kvBefore, machine = kvtest::machineProcessorSeconds() - machineBefore;
    const double per10s = 10.0 / (double(GetTickCount64() - from) / 1000.0);
    const kvtest::ResidentMemory memory = kvtest::residentMemory(kv.id(), directory.path());
    const bool read = kvBefore >= 0 && machineBefore >= 0 && memory.peakMB >= 0;
    const bool played = kv.running() && kvtest::playsOn(screen);
    std::printf("clip %s  screen %ldx%ld\n", clip.c_str(), screen.right, screen.bottom);
    std::printf("kv.exe %.2f s, machine %.2f s per 10 s; resident %.0f MB, at most %.0f MB%s\n", kvCpu * per10s,
                machine * per10s, memory.nowMB, memory.peakMB,
                !read    ? " (not readable: no figure)"
                : played ? ""
                         : " (stopped playing: no figure)");
    // Without a desktop program window, closing the settings window would be the fatal error
    // of a player window gone with it; kv.exe ends with this run.
    return read && played ? 0 : 1;
}
