// Finding another process's windows and reading them.
#include "tests/driver/kv_driver.h"

namespace kvtest {
namespace {
struct Search {
    DWORD processId;
    const char* className;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId)
        return TRUE;
    if (search.className && className(window) != search.className)
        return TRUE;
    if (search.title && text(window) != search.title)
        return TRUE;
    search.found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> topLevelWindows(DWORD processId, const char* className, const char* title)
{
    Search search{processId, className, title, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs)
{
    HWND result = nullptr;
    waitUntil(
        [&] {
            for (HWND window : topLevelWindows(processId, className, title))
                if (visible(window)) {
                    result = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return result;
}

HWND Process::waitForWindow(const char* className, const char* title, DWORD timeoutMs) const
{
    HWND result = nullptr;
    waitUntil(
        [&] {
            result = kvtest::waitForWindow(id_, className, title, 0);
            return result || !running();
        },
        timeoutMs);
    return result;
}

std::string text(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, defaultTimeoutMs, &length))
        return {};
    std::string buffer(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                        defaultTimeoutMs, &copied);
    buffer.resize(copied);
    return buffer;
}

std::string className(HWND window)
{
    char buffer[256] = {};
    return std::string(buffer, static_cast<size_t>(GetClassNameA(window, buffer, sizeof buffer)));
}

HWND parent(HWND window) { return GetAncestor(window, GA_PARENT); }

RECT windowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT rectInParent(HWND window)
{
    RECT rect = windowRect(window);
    MapWindowPoints(HWND_DESKTOP, parent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG_PTR style(HWND window) { return GetWindowLongPtrA(window, GWL_STYLE); }

LONG_PTR exStyle(HWND window) { return GetWindowLongPtrA(window, GWL_EXSTYLE); }

bool visible(HWND window) { return IsWindowVisible(window) != FALSE; }

bool hidden(HWND window) { return IsWindow(window) && !visible(window); }

std::vector<HWND> children(HWND window)
{
    std::vector<HWND> result;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        result.push_back(child);
    return result;
}

int screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

namespace {
BOOL CALLBACK collectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}
}  // namespace

std::vector<RECT> monitors()
{
    std::vector<RECT> all;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&all));
    return all;
}

SettingsControls settingsControls(HWND settings)
{
    SettingsControls found;
    for (HWND control : children(settings)) {
        if (className(control) == "Edit")
            found.edit = control;
        else if (text(control) == "应用")
            found.applyButton = control;
    }
    return found;
}
}  // namespace kvtest
