#pragma once
// One end-to-end run: a simulated desktop shell, then kv.exe in a fresh program directory with
// its settings window found. Members go in reverse order: kv first, the shell last.
#include "fake_shell_session.h"
#include "tests/driver/kv_driver.h"

#include <optional>
#include <string>

class WallpaperRun {
public:
    // shellOptions: the fake shell's layout options; rememberedVideo: written to kv.ini first.
    explicit WallpaperRun(const std::string& shellOptions = "", const std::string& rememberedVideo = "");

    bool ready() const { return settings != nullptr && edit != nullptr && applyButton != nullptr; }
    // Types the file name into the edit box and clicks "应用"; returns once the handler ran.
    void apply(const std::string& fileName = "C:\\videos\\sea.mp4") const;
    // The player window "pmrq", wherever it sits now; null when there is none.
    HWND playerWindow() const;

    FakeShellSession shell;
    kvtest::ProgramDirectory directory;
    kvtest::Process kv;
    HWND settings = nullptr;
    HWND edit = nullptr;
    HWND applyButton = nullptr;
};
