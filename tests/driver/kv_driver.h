#pragma once
// Drives kv.exe from an end-to-end test (a Windows program running under Wine beside kv.exe).
//
//   kvtest::ProgramDirectory dir;                  // fresh %TEMP% folder holding a copy of kv.exe
//   dir.writeFile("kv.ini", bytes);                // optional extra files
//   kvtest::Process kv = kvtest::Process::start(dir);
//   HWND settings = kv.waitForWindow(nullptr, "kv_动态壁纸设置");
//   kvtest::click(kvtest::children(settings)[0]);
//   kvtest::pressKey(edit, VK_ESCAPE);
//   EXPECT_EQ(kv.waitForExit(), 0u);
//
// Texts are ANSI (code page 936), like the program's. Every wait polls until a deadline;
// a wait that runs out returns null / empty / nullopt, so tests ASSERT on the result.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kvtest {

constexpr DWORD defaultTimeoutMs = 10000;

// Polls `done` every few milliseconds until it holds or the time is up; its last answer. This
// thread's messages are dispatched meanwhile, so that its own windows (a hosted control, a
// cover) keep working while it waits.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs = defaultTimeoutMs);

// The folder that holds the running test program (and kv.exe, and bin/fixtures/).
std::string binDirectory();

// A fresh, uniquely named program directory under %TEMP% with a copy of kv.exe in it;
// removed with everything in it when the object goes.
class ProgramDirectory {
public:
    ProgramDirectory();
    ~ProgramDirectory();
    ProgramDirectory(const ProgramDirectory&) = delete;
    ProgramDirectory& operator=(const ProgramDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string pathOf(const std::string& name) const { return path_ + "\\" + name; }
    std::string executable() const { return pathOf("kv.exe"); }

    // Copies a file (e.g. a fixture DLL from binDirectory()) in under the given name.
    bool copyIn(const std::string& sourcePath, const std::string& name);
    // Our APlayer.dll from the build, and the test-only atl.dll beside it: Wine's own atl.dll
    // attaches nothing without a container pointer.
    bool copyInOurComponent();
    bool writeFile(const std::string& name, const std::string& bytes);
    // The file's bytes, or nullopt when it does not exist.
    std::optional<std::string> readFile(const std::string& name) const;

private:
    std::string path_;
};

// A running kv.exe, started from a current directory other than its program directory.
// Terminated (if still running) when the object goes.
class Process {
public:
    // showCommand, when given, goes to the start-up information (STARTF_USESHOWWINDOW), as a
    // shortcut's "run minimised" passes it.
    static Process start(const ProgramDirectory& directory, std::optional<WORD> showCommand = std::nullopt);
    static Process start(const std::string& executable, const std::string& currentDirectory,
                         std::optional<WORD> showCommand = std::nullopt);
    Process(Process&& other) noexcept;
    Process& operator=(Process&&) = delete;
    ~Process();

    bool started() const { return handle_ != nullptr; }
    DWORD id() const { return id_; }
    bool running() const;
    // The exit code once the process has ended; nullopt when it is still running at the deadline.
    std::optional<DWORD> waitForExit(DWORD timeoutMs = defaultTimeoutMs);
    // Like waitForWindow below, but gives up at once when the process has ended.
    HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs = defaultTimeoutMs) const;

private:
    Process(HANDLE handle, DWORD id) : handle_(handle), id_(id) {}
    HANDLE handle_;
    DWORD id_;
};

// Top-level windows of a process, visible or not; class and title filters may be null.
std::vector<HWND> topLevelWindows(DWORD processId, const char* className = nullptr, const char* title = nullptr);
// The first visible top-level window of the process that matches, polled until the deadline.
HWND waitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs = defaultTimeoutMs);

// Window facts, read from another process.
std::string text(HWND window);  // WM_GETTEXT (works for another process's edit box)
std::string className(HWND window);
HWND parent(HWND window);        // GetAncestor(GA_PARENT): the real parent after SetParent
RECT windowRect(HWND window);    // screen coordinates
RECT rectInParent(HWND window);  // the window rectangle in its parent's client coordinates
LONG_PTR style(HWND window);
LONG_PTR exStyle(HWND window);
bool visible(HWND window);
bool hidden(HWND window);                 // a window that exists and is not shown: a destroyed one is not hidden
std::vector<HWND> children(HWND window);  // direct children, top of the Z-order first
int screenWidth();
int screenHeight();
std::vector<RECT> monitors();    // each monitor's rectangle in screen coordinates
bool coversScreen(HWND window);  // its window rectangle is exactly the primary screen

// "(left,top)-(right,bottom)", for failure messages.
std::string rectText(const RECT& rect);
// True when `colour` is within `tolerance` of red, green, blue on every channel (a pixel that
// could not be read, CLR_INVALID, never is).
bool colourNear(COLORREF colour, int red, int green, int blue, int tolerance);

// Input.
void setText(HWND window, const std::string& text);  // WM_SETTEXT, returns when set
void click(HWND button);                             // BM_CLICK, returns when the click handler has run
void clickLater(HWND button);                        // BM_CLICK posted: for buttons that open modal windows
void close(HWND window);                             // WM_CLOSE posted
// Gives `target` the keyboard focus (AttachThreadInput + SetFocus) and types the key with
// the modifiers held (VK_SHIFT, VK_CONTROL, VK_MENU) through SendInput; they stay down until
// the target has handled the key, and the call returns once it has handled their release.
bool pressKey(HWND target, WORD virtualKey, const std::vector<WORD>& modifiers = {});
// The same into the edit `edit`, the modifiers held until `marker`, typed after the key as a
// character that no modifier changes, shows in the edit (or the window has gone): the key has
// then been handled with them down, however slowly the target takes its input.
bool pressKeyBeforeMarker(HWND edit, WORD virtualKey, const std::vector<WORD>& modifiers, char marker);
// The window that has the keyboard focus in `window`'s thread (read through AttachThreadInput).
HWND focusOf(HWND window);

// kv.exe's settings window: its file name edit and its "应用" button, null where not found.
struct SettingsControls {
    HWND edit = nullptr;
    HWND applyButton = nullptr;
};
SettingsControls settingsControls(HWND settings);

// Message boxes: "#32770" windows with that caption; text is the static control 0xFFFF.
HWND waitForMessageBox(DWORD processId, const char* caption, DWORD timeoutMs = defaultTimeoutMs);
std::string messageBoxText(HWND box);
void pressOk(HWND box);  // BM_CLICK on its OK button (WM_CLOSE would make it answer IDCANCEL)

// The common open-file dialog of a process.
HWND waitForFileDialog(DWORD processId, DWORD timeoutMs = defaultTimeoutMs);
bool chooseFile(HWND dialog, const std::string& path);  // types the path, presses Open
// The name of the folder the dialog shows (its "look in" box, cmb2).
std::string fileDialogFolder(HWND dialog);
void cancelFileDialog(HWND dialog);

}  // namespace kvtest
