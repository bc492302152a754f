// kv.exe's cost of one decoder feeding two monitors: the real kv.exe with our APlayer.dll plays
// the clip remembered in kv.ini, once on the primary monitor and once with "在所有显示器上播放"
// ticked (kv.ini's "显示" section, read at start), filling both. The simulated shell runs
// without a desktop program window, so the player window stays top-level, where Wine draws it
// and the screen's pixels show it playing. Prints CPU seconds per 10 s of kv.exe and of the
// whole machine (X server and Wine server included), each stretch timed once the picture is
// seen to move on every monitor it covers.
// Usage: monitors_bench CLIP [SECONDS]   (on the two monitors of on_two_monitors.sh)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/driver/kv_driver.h"
#include "tests/driver/processor_time.h"
#include "tests/driver/screen_motion.h"
#include "tests/e2e/wallpaper/fake_shell_session.h"

namespace {

// One run of kv.exe playing `clip` on the primary monitor or on all of them; false when it
// shows no figure.
bool measure(const std::string& clip, bool allMonitors, int seconds)
{
    const char* label = allMonitors ? "all monitors" : "one monitor";
    kvtest::ProgramDirectory directory;
    directory.copyInOurComponent();
    directory.writeFile("kv.ini",
                        "[文件名]\r\n文件名=" + clip + "\r\n" + (allMonitors ? "[显示]\r\n所有显示器=1\r\n" : ""));
    kvtest::Process kv = kvtest::Process::start(directory);
    if (!kv.waitForWindow("pmrq", "pmrq", 15000)) {
        std::printf("%-13s no player window: no figure\n", label);
        return false;
    }
    const std::vector<RECT> shown =
        allMonitors ? kvtest::monitors() : std::vector<RECT>{RECT{0, 0, kvtest::screenWidth(), kvtest::screenHeight()}};
    for (const RECT& monitor : shown) {
        if (!kvtest::playsOn(monitor)) {
            std::printf("%-13s not seen to move on the monitor at %ld,%ld: no figure\n", label, monitor.left,
                        monitor.top);
            return false;
        }
    }
    const kvtest::ProcessorTime kvTime(kv.id(), directory.path());
    const double kvBefore = kvTime.seconds(), machineBefore = kvtest::machineProcessorSeconds();
    const ULONGLONG from = GetTickCount64();
    Sleep(DWORD(seconds) * 1000);
    const double kvCpu = kvTime.seconds() - kvBefore, machine = kvtest::machineProcessorSeconds() - machineBefore;
    const double per10s = 10.0 / (double(GetTickCount64() - from) / 1000.0);
    const bool read = kvBefore >= 0 && machineBefore >= 0;
    const bool played = kv.running() && kvtest::playsOn(shown.front());
    std::printf("%-13s kv.exe %.2f s, machine %.2f s per 10 s%s\n", label, kvCpu * per10s, machine * per10s,
                !read    ? " (processor time not readable: no figure)"
                : played ? ""
                         : " (stopped playing: no figure)");
    // Without a desktop program window, closing the settings window would be the fatal error
    // of a player window gone with it; kv.exe ends with this run.
    return read && played;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: monitors_bench CLIP [SECONDS]\n");
        return 2;
    }
    if (GetSystemMetrics(SM_CMONITORS) != 2) {
        std::fprintf(stderr, "monitors_bench: needs two monitors, sees %d\n", GetSystemMetrics(SM_CMONITORS));
        return 1;
    }
    const std::string clip = argv[1];
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    FakeShellSession shell("--no-progman");
    if (!shell.ready()) {
        std::fprintf(stderr, "monitors_bench: the simulated shell did not start\n");
        return 1;
    }
    std::printf("clip %s  primary %dx%d  virtual screen %dx%d\n", clip.c_str(), kvtest::screenWidth(),
                kvtest::screenHeight(), GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const bool one = measure(clip, false, seconds), all = measure(clip, true, seconds);
    return one && all ? 0 : 1;
}
