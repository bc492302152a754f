#pragma once
// The base of the program's windows: one C++ class per window class, created from a
// registered window definition, delivering the window's events to small virtual handlers.
//
// How a window class uses it:
//   class PlayerWindow : public ProgramWindow {
//   public:
//       PlayerWindow() : ProgramWindow(layout::playerWindow) {}
//   private:
//       WindowFrame frame() const override;      // class name, title, styles, rectangle
//       void onCreated() override;               // after creation, before the first show
//       void onDestroy() override;               // on WM_DESTROY
//       LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
//       {   // own messages first, everything else to the base
//           if (message == privateMessage) { DestroyWindow(handle()); return 0; }
//           return ProgramWindow::handleMessage(message, wParam, lParam);
//       }
//   };
//   HWND window = loadWindow(std::make_unique<PlayerWindow>(), ownerWindow);
//
// loadWindow (window_layer.h) registers the window class on first use, creates the window
// hidden with the owner given (the object is bound to the window at WM_NCCREATE), sets the
// stock DEFAULT_GUI_FONT, runs addControls, then onCreated (unless window events are
// blocked), then shows it with the frame's show command (SW_SHOW unless it says otherwise) if it still exists. The
// window layer keeps the object until the program ends or the same definition is loaded again after the window is gone.
// After the window's last message the layer is told that it is gone (its quit rule).
//
// Events (onCreated, onDestroy, onClicked) run only while windowEventsAllowed()
// (platform/window_events.h); a window class asks the same for its own events.
// Keyboard: Esc without Ctrl, Shift or Alt sends WM_CLOSE to the window while it or one of its
// controls has the focus (WM_CLOSE then destroys it, as DefWindowProc does); Tab moves among
// the controls; Enter does nothing.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Everything CreateWindowEx and the class registration need for a program window.
struct WindowFrame {
    const char* className;
    const char* title;
    UINT classStyle;
    HBRUSH classBackground;
    DWORD style;  // without WS_VISIBLE: the window layer shows it after onCreated
    DWORD exStyle;
    int left;  // outer rectangle, screen coordinates
    int top;
    int width;
    int height;
    const char* icon = nullptr;  // the class icon: a resource of the executable, or none
    int showCommand = SW_SHOW;   // how the window is first shown, after onCreated
};

// One child control, in client coordinates of its window.
struct ControlLayout {
    uint32_t componentId;  // layout identifier (platform/window_ids.h)
    const char* className;
    const char* text;
    DWORD style;  // WS_CHILD and the rest
    DWORD exStyle;
    int left;
    int top;
    int width;
    int height;
};

class ProgramWindow {
public:
    explicit ProgramWindow(uint32_t windowId) : windowId_(windowId) {}
    virtual ~ProgramWindow() = default;
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    uint32_t windowId() const { return windowId_; }
    // The system window; null before creation and after WM_NCDESTROY.
    HWND handle() const { return handle_; }

    // The control of that layout identifier, or null.
    HWND control(uint32_t componentId) const;
    std::string controlText(uint32_t componentId) const;
    void setControlText(uint32_t componentId, const std::string& text);

    // Keyboard handling among the window's controls; true when the message was consumed.
    bool preTranslate(MSG& message);

protected:
    virtual WindowFrame frame() const = 0;
    // Creates the child controls (addControl), in Tab order. Not an event: always runs.
    virtual void addControls() {}
    HWND addControl(const ControlLayout& layout);

    virtual void onCreated() {}
    virtual void onDestroy() {}
    virtual void onClicked(uint32_t /*componentId*/) {}

    // The window's one message handler. Overrides handle their own messages and pass the
    // rest here, which routes BN_CLICKED and WM_DESTROY to the handlers above.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend HWND loadWindow(std::unique_ptr<ProgramWindow> window, HWND owner);

    // Creates the window as described above; null when the system refuses. whenGone runs
    // after the window's last message.
    HWND create(HWND owner, void (*whenGone)());

    struct Control {
        uint32_t componentId;
        HWND handle;
    };

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool registerClass(const WindowFrame& frame) const;
    uint32_t componentOf(HWND controlHandle) const;

    uint32_t windowId_;
    HWND handle_ = nullptr;
    void (*whenGone_)() = nullptr;
    std::vector<Control> controls_;
};
