// Input to another process's windows: texts, clicks, keys, message boxes, the file dialog.
#include "tests/driver/kv_driver.h"

#include <commdlg.h>
#include <dlgs.h>

namespace kvtest {
namespace {
INPUT key(WORD virtualKey, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Returns once the thread of target has taken and handled every input message queued so far.
// A sent message wakes it, and it takes its queued input before it can wait again; it is idle
// when it waits for input with none left. A window or process that has gone returns at once.
void waitUntilInputHandled(HWND target)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(target, &processId);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId)) {
        WaitForInputIdle(process, 5000);
        CloseHandle(process);
    }
}

HWND firstEditIn(HWND window)
{
    for (HWND child : children(window)) {
        if (_stricmp(className(child).c_str(), "Edit") == 0)
            return child;
        if (HWND edit = firstEditIn(child))
            return edit;
    }
    return nullptr;
}

HWND fileNameBox(HWND dialog)
{
    // Explorer-style dialogs keep the name in an edit inside the cmb13 combo box (a ComboBoxEx
    // under Wine); older ones in the edit edt1.
    if (HWND combo = GetDlgItem(dialog, cmb13))
        return firstEditIn(combo);
    return GetDlgItem(dialog, edt1);
}
}  // namespace

void setText(HWND window, const std::string& text)
{
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

void clickLater(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void close(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

namespace {
// Gives `target` the focus and presses the key with the modifiers held; calls `whileHeld`
// with the key down and up again and the modifiers still down, then lets them go. Returns
// once the target has handled the release.
template <class WhileHeld>
bool pressWithModifiers(HWND target, WORD virtualKey, const std::vector<WORD>& modifiers, WhileHeld whileHeld)
{
    const DWORD targetThread = GetWindowThreadProcessId(target, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    if (!AttachThreadInput(ownThread, targetThread, TRUE))
        return false;
    SetForegroundWindow(GetAncestor(target, GA_ROOT));
    SetFocus(target);
    std::vector<INPUT> down;
    for (WORD modifier : modifiers)
        down.push_back(key(modifier, false));
    down.push_back(key(virtualKey, false));
    down.push_back(key(virtualKey, true));
    std::vector<INPUT> up;
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier)
        up.push_back(key(*modifier, true));
    bool sent = SendInput(static_cast<UINT>(down.size()), down.data(), sizeof(INPUT)) == down.size();
    sent = whileHeld() && sent;
    if (!up.empty())
        sent = SendInput(static_cast<UINT>(up.size()), up.data(), sizeof(INPUT)) == up.size() && sent;
    waitUntilInputHandled(target);
    AttachThreadInput(ownThread, targetThread, FALSE);
    return sent;
}
}  // namespace

bool pressKey(HWND target, WORD virtualKey, const std::vector<WORD>& modifiers)
{
    // As a person types: the modifiers stay down until the target has handled the key. Wine
    // answers GetKeyState from the live keyboard once a thread has taken all its input, so a
    // modifier released in the same burst may already read as up.
    return pressWithModifiers(target, virtualKey, modifiers, [&] {
        waitUntilInputHandled(target);
        return true;
    });
}

bool pressKeyBeforeMarker(HWND edit, WORD virtualKey, const std::vector<WORD>& modifiers, char marker)
{
    return pressWithModifiers(edit, virtualKey, modifiers, [&] {
        // The marker as a character of its own (VK_PACKET), which no modifier turns into
        // another; input is taken in order, so once it shows the key has been handled.
        INPUT character[2] = {};
        for (INPUT& input : character) {
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = static_cast<WORD>(static_cast<unsigned char>(marker));
            input.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        character[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        const bool sent = SendInput(2, character, sizeof(INPUT)) == 2;
        waitUntil([&] { return !IsWindow(edit) || text(edit).find(marker) != std::string::npos; });
        return sent;
    });
}

HWND focusOf(HWND window)
{
    const DWORD targetThread = GetWindowThreadProcessId(window, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    if (!AttachThreadInput(ownThread, targetThread, TRUE))
        return nullptr;
    HWND focus = GetFocus();
    AttachThreadInput(ownThread, targetThread, FALSE);
    return focus;
}

HWND waitForMessageBox(DWORD processId, const char* caption, DWORD timeoutMs)
{
    return waitForWindow(processId, "#32770", caption, timeoutMs);
}

std::string messageBoxText(HWND box) { return text(GetDlgItem(box, 0xFFFF)); }

void pressOk(HWND box) { clickLater(GetDlgItem(box, IDOK)); }

HWND waitForFileDialog(DWORD processId, DWORD timeoutMs)
{
    HWND dialog = nullptr;
    waitUntil(
        [&] {
            for (HWND window : topLevelWindows(processId, "#32770"))
                if (visible(window) && fileNameBox(window)) {
                    dialog = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return dialog;
}

bool chooseFile(HWND dialog, const std::string& path)
{
    HWND box = fileNameBox(dialog);
    if (!box)
        return false;
    setText(box, path);
    clickLater(GetDlgItem(dialog, IDOK));
    return true;
}

std::string fileDialogFolder(HWND dialog) { return text(GetDlgItem(dialog, cmb2)); }

void cancelFileDialog(HWND dialog) { clickLater(GetDlgItem(dialog, IDCANCEL)); }
}  // namespace kvtest
