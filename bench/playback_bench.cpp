// Playback cost of our APlayer.dll: a clip played full screen in an "AtlAxWin" host, as the
// wallpaper plays it. Prints first-picture latency from Open, CPU seconds per 10 s of
// playback (all threads of this process, decoding included) and the peak working set.
// Usage: playback_bench CLIP [SECONDS]   (APlayer.dll is taken from component\ beside it)
#include <windows.h>
#include <oleidl.h>
#include <psapi.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "player/automation_object.h"

namespace {

using Microsoft::WRL::ComPtr;

std::string besideProgram(const char* relative)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + relative;
}

double cpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

void pumpMessagesFor(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

bool isDark(COLORREF colour) { return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 24; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: playback_bench CLIP [SECONDS]\n");
        return 2;
    }
    const std::string clip = argv[1];
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    OleInitialize(nullptr);

    HMODULE component = LoadLibraryA(besideProgram("component\\APlayer.dll").c_str());
    HMODULE atl = LoadLibraryA("atl.dll");
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using AttachControl = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);
    using WinInit = BOOL(WINAPI*)();
    auto getClassObject = component ? reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(component, "DllGetClassObject"))) : nullptr;
    auto attach = atl ? reinterpret_cast<AttachControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxAttachControl"))) : nullptr;
    auto init = atl ? reinterpret_cast<WinInit>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit"))) : nullptr;
    if (!getClassObject || !attach || !init) {
        std::fprintf(stderr, "playback_bench: APlayer.dll or atl.dll missing\n");
        return 1;
    }
    init();

    const CLSID playerClass = {0xA9332148, 0xC691, 0x4B9D, {0x91, 0xFC, 0xB9, 0xC4, 0x61, 0xDB, 0xE9, 0xDD}};
    AutomationObject player;
    ComPtr<IClassFactory> factory;
    if (FAILED(getClassObject(playerClass, IID_IClassFactory, &factory)) ||
        FAILED(factory->CreateInstance(nullptr, IID_IDispatch, player.pointerSlot()))) {
        std::fprintf(stderr, "playback_bench: no control\n");
        return 1;
    }
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND host = CreateWindowExA(0, "AtlAxWin", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ComPtr<IUnknown> container;
    attach(player.rawPointer(), host, &container);
    ComPtr<IOleWindow> oleWindow;
    HWND window = nullptr;
    if (SUCCEEDED(player.rawPointer()->QueryInterface(IID_PPV_ARGS(&oleWindow)))) oleWindow->GetWindow(&window);

    int32_t loopItem = 8, muteItem = 119, on = 1;
    player.invokeNumber("SetConfig", {loopItem, on});
    player.invokeNumber("SetConfig", {muteItem, on});

    // First picture: from Open until the screen is no longer dark. The first Open in a
    // process also pays for starting the decoders (cold); the second is the warm figure.
    std::string fileName = clip;
    auto firstPicture = [&]() -> long long {
        HDC dc = GetDC(window);
        const ULONGLONG opened = GetTickCount64();
        player.invoke("Open", {fileName});
        player.invokeNumber("Play");
        long long latency = -1;
        while (GetTickCount64() - opened < 5000) {
            if (!isDark(GetPixel(dc, width / 2, height / 2)) || !isDark(GetPixel(dc, width / 4, height / 4))) {
                latency = static_cast<long long>(GetTickCount64() - opened);
                break;
            }
            pumpMessagesFor(1);
        }
        ReleaseDC(window, dc);
        return latency;
    };
    const long long cold = firstPicture();
    player.invokeNumber("Close");
    pumpMessagesFor(100);  // the dark fill is painted again
    const long long warm = firstPicture();
    // The wallpaper's road opens the file twice in a row: the GUI thread must not wait for
    // the first opening to finish.
    const ULONGLONG twiceFrom = GetTickCount64();
    player.invoke("Open", {fileName});
    player.invoke("Open", {fileName});
    player.invokeNumber("Play");
    const ULONGLONG twice = GetTickCount64() - twiceFrom;

    const double cpuBefore = cpuSeconds();
    const ULONGLONG playFrom = GetTickCount64();
    pumpMessagesFor(DWORD(seconds) * 1000);
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = double(GetTickCount64() - playFrom) / 1000.0;
    const int state = int(player.invokeNumber("GetState"));

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);

    std::printf("clip %s  video %dx%d  screen %dx%d  state %d\n", clip.c_str(), int(player.invokeNumber("GetVideoWidth")),
                int(player.invokeNumber("GetVideoHeight")), width, height, state);
    std::printf("first picture  %lld ms cold, %lld ms warm (-1: none within 5 s)\n", cold, warm);
    std::printf("open twice     %llu ms on the GUI thread\n", twice);
    std::printf("cpu per 10 s   %.2f s\n", cpu * 10.0 / wall);
    std::printf("peak working   %.1f MB\n", double(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));

    player.invokeNumber("Close");
    DestroyWindow(host);
    player.clear();
    OleUninitialize();
    return cold >= 0 && warm >= 0 ? 0 : 1;
}
