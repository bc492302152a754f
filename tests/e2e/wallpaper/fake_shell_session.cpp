#include "fake_shell_session.h"

#include "tests/driver/kv_driver.h"

#include <vector>

namespace {
std::string besideThisProgram(const char* fileName)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of("\\/") + 1) + fileName;
}

// The shell's control window once the desktop tree stands, else null.
HWND readyControlWindowOf(DWORD processId)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, fake_shell::controlClass, nullptr); window;
         window = FindWindowExA(nullptr, window, fake_shell::controlClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && GetPropA(window, fake_shell::ready))
            return window;
    }
    return nullptr;
}
}  // namespace

FakeShellSession::FakeShellSession(const std::string& options)
{
    std::string commandLine = "\"" + besideThisProgram("fake_shell.exe") + "\" " + options;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        return;
    kvtest::waitUntil([&] {
        control_ = readyControlWindowOf(process_.dwProcessId);
        return control_ != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
    });
}

FakeShellSession::~FakeShellSession()
{
    if (!process_.hProcess)
        return;
    if (control_)
        PostMessageA(control_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND FakeShellSession::window(const char* property) const
{
    return control_ ? static_cast<HWND>(GetPropA(control_, property)) : nullptr;
}

namespace {
INT_PTR numberProperty(HWND control, const char* name)
{
    return control ? reinterpret_cast<INT_PTR>(GetPropA(control, name)) : 0;
}
}  // namespace

int FakeShellSession::spawnRequests() const
{
    return static_cast<int>(numberProperty(control_, fake_shell::spawnCount));
}
int FakeShellSession::desktops() const { return static_cast<int>(numberProperty(control_, fake_shell::desktopCount)); }

DWORD FakeShellSession::broadcastTick() const
{
    return static_cast<DWORD>(numberProperty(control_, fake_shell::broadcastTick));
}

bool FakeShellSession::wallpaperLayerBecomesHidden() const
{
    return kvtest::waitUntil([&] { return kvtest::hidden(window(fake_shell::wallpaperLayer)); });
}

// A request to the shell's control window, answered before this returns.
void FakeShellSession::tell(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (control_)
        SendMessageA(control_, message, wParam, lParam);
}

void FakeShellSession::restart() const { tell(fake_shell::restartMessage, 0, 0); }

void FakeShellSession::restart(DWORD comeBackAfterMs) const { tell(fake_shell::restartMessage, comeBackAfterMs, 1); }

void FakeShellSession::showWallpaperLayer() const { tell(fake_shell::showLayerMessage, 0, 0); }

void FakeShellSession::recreateWallpaperLayer() const { tell(fake_shell::recreateLayerMessage, 0, 0); }

void FakeShellSession::recreateWallpaperLayerInSteps(DWORD placeAfterMs) const
{
    tell(fake_shell::recreateLayerInStepsMessage, placeAfterMs, 0);
}

bool FakeShellSession::wallpaperLayerPlaced() const { return window(fake_shell::layerPlaced) != nullptr; }
