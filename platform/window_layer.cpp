#include "platform/window_layer.h"

#include "platform/process_state.h"
#include "platform/runtime_error.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {
// The layer's records: at most one window object per definition.
std::vector<std::unique_ptr<ProgramWindow>>& windows()
{
    static std::vector<std::unique_ptr<ProgramWindow>> loaded;
    return loaded;
}

std::unique_ptr<ProgramWindow>* recordOf(uint32_t windowId)
{
    for (auto& record : windows())
        if (record->windowId() == windowId)
            return &record;
    return nullptr;
}

ProgramWindow* openWindowOf(HWND handle)
{
    for (auto& record : windows())
        if (record->handle() == handle && handle != nullptr)
            return record.get();
    return nullptr;
}

// A loaded window for a component access, or the fatal report the access deserves.
ProgramWindow& accessedWindow(uint32_t windowId, uint32_t componentId, const char* notLoadedMessage)
{
    if (!findWindowDefinition(windowId))
        reportFatalError("未载入欲访问窗口组件所在的窗口", 0, windowId, static_cast<int32_t>(componentId));
    auto* record = recordOf(windowId);
    if (!record || !IsWindow((*record)->handle()))
        reportFatalError(notLoadedMessage, 0, windowId, static_cast<int32_t>(componentId));
    return **record;
}

// The quit rule, after a program window's last message: once the loop has started and no
// program window is left, the quit message is posted.
void onProgramWindowGone()
{
    if (processState.loopStarted && !anyProgramWindowOpen())
        PostQuitMessage(0);
}
}  // namespace

HWND loadWindow(std::unique_ptr<ProgramWindow> window, HWND owner)
{
    if (!findWindowDefinition(window->windowId()))
        return nullptr;
    auto* record = recordOf(window->windowId());
    if (record && IsWindow((*record)->handle())) {
        HWND open = (*record)->handle();
        if (IsIconic(open))
            ShowWindow(open, SW_RESTORE);
        else
            SetActiveWindow(open);
        return open;
    }
    // A window of this definition that is gone is replaced; its object has no frame on the
    // stack here, since only another window's handler or start-up loads a window.
    ProgramWindow& created = *window;
    if (record)
        *record = std::move(window);
    else
        windows().push_back(std::move(window));
    return created.create(owner, onProgramWindowGone);
}

HWND loadedWindow(uint32_t windowId)
{
    auto* record = recordOf(windowId);
    return record && IsWindow((*record)->handle()) ? (*record)->handle() : nullptr;
}

std::string componentText(uint32_t windowId, uint32_t componentId)
{
    return accessedWindow(windowId, componentId, "读取组件属性时发现指定窗口尚未载入").controlText(componentId);
}

void setComponentText(uint32_t windowId, uint32_t componentId, const std::string& text)
{
    accessedWindow(windowId, componentId, "修改组件属性时发现指定窗口尚未载入").setControlText(componentId, text);
}

bool anyProgramWindowOpen()
{
    return std::any_of(windows().begin(), windows().end(),
                       [](const auto& record) { return IsWindow(record->handle()) != FALSE; });
}

bool preTranslateMessage(MSG& message)
{
    for (HWND window = message.hwnd; window; window = GetParent(window))
        if (ProgramWindow* programWindow = openWindowOf(window))
            if (programWindow->preTranslate(message))
                return true;
    return false;
}

void destroyProgramWindows()
{
    for (auto& record : windows())
        if (IsWindow(record->handle()))
            DestroyWindow(record->handle());
    windows().clear();
    clearWindowDefinitions();
}
