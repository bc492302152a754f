#include "platform/program_window.h"

#include "platform/window_events.h"

#include <windowsx.h>

namespace {
bool keyHeld(int virtualKey) { return GetKeyState(virtualKey) < 0; }

HFONT guiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

HICON classIcon(HINSTANCE instance, const char* name, int widthMetric, int heightMetric)
{
    // Loaded once per window class and kept for the run, as class icons are.
    return static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
}

// Control ids start above IDOK and IDCANCEL, which keyboard handling sends for Enter and Esc.
constexpr int firstControlId = 100;
}  // namespace

HWND ProgramWindow::control(uint32_t componentId) const
{
    for (const Control& entry : controls_)
        if (entry.componentId == componentId)
            return entry.handle;
    return nullptr;
}

std::string ProgramWindow::controlText(uint32_t componentId) const
{
    HWND window = control(componentId);
    if (!window)
        return {};
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ProgramWindow::setControlText(uint32_t componentId, const std::string& text)
{
    if (HWND window = control(componentId))
        SetWindowTextA(window, text.c_str());
}

bool ProgramWindow::preTranslate(MSG& message)
{
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        if (keyHeld(VK_CONTROL) || keyHeld(VK_SHIFT) || keyHeld(VK_MENU))
            return false;
        SendMessageA(handle_, WM_CLOSE, 0, 0);
        return true;
    }
    // Enter neither presses a button nor moves the focus.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN)
        return true;
    return IsDialogMessageA(handle_, &message) != FALSE;
}

HWND ProgramWindow::create(HWND owner, void (*whenGone)())
{
    whenGone_ = whenGone;
    const WindowFrame layout = frame();
    if (!registerClass(layout))
        return nullptr;
    HWND window =
        CreateWindowExA(layout.exStyle, layout.className, layout.title, layout.style & ~WS_VISIBLE, layout.left,
                        layout.top, layout.width, layout.height, owner, nullptr, GetModuleHandleA(nullptr), this);
    if (!window)
        return nullptr;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont()), FALSE);
    if (layout.icon) {
        // The window's own icons too: shells that ask the window (WM_GETICON) find them.
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        SendMessageA(window, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(classIcon(instance, layout.icon, SM_CXICON, SM_CYICON)));
        SendMessageA(window, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(classIcon(instance, layout.icon, SM_CXSMICON, SM_CYSMICON)));
    }
    addControls();
    if (windowEventsAllowed())
        onCreated();
    if (IsWindow(window))
        ShowWindow(window, layout.showCommand);
    return window;
}

HWND ProgramWindow::addControl(const ControlLayout& layout)
{
    const auto id = static_cast<INT_PTR>(firstControlId + controls_.size());
    HWND window = CreateWindowExA(layout.exStyle, layout.className, layout.text, layout.style, layout.left, layout.top,
                                  layout.width, layout.height, handle_, reinterpret_cast<HMENU>(id),
                                  GetModuleHandleA(nullptr), nullptr);
    if (window) {
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont()), FALSE);
        controls_.push_back({layout.componentId, window});
    }
    return window;
}

LRESULT ProgramWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (GET_WM_COMMAND_CMD(wParam, lParam) == BN_CLICKED) {
            const uint32_t componentId = componentOf(GET_WM_COMMAND_HWND(wParam, lParam));
            if (componentId != 0 && windowEventsAllowed())
                onClicked(componentId);
            return 0;
        }
        break;
    case WM_DESTROY:
        if (windowEventsAllowed())
            onDestroy();
        break;
    default:
        break;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT CALLBACK ProgramWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ProgramWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ProgramWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = self->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window's last message: from here on the object no longer stands for a window.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        self->controls_.clear();
        self->whenGone_();
    }
    return result;
}

bool ProgramWindow::registerClass(const WindowFrame& layout) const
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, layout.className, &existing))
        return true;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = layout.classStyle;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    if (layout.icon) {
        // The large image for Alt+Tab and the taskbar, the small one for the title bar.
        windowClass.hIcon = classIcon(instance, layout.icon, SM_CXICON, SM_CYICON);
        windowClass.hIconSm = classIcon(instance, layout.icon, SM_CXSMICON, SM_CYSMICON);
    }
    windowClass.hbrBackground = layout.classBackground;
    windowClass.lpszClassName = layout.className;
    return RegisterClassExA(&windowClass) != 0;
}

uint32_t ProgramWindow::componentOf(HWND controlHandle) const
{
    for (const Control& entry : controls_)
        if (entry.handle == controlHandle)
            return entry.componentId;
    return 0;
}
