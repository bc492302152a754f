#pragma once
// A small program window for the window layer's tests: one button, one edit box, and a
// record of the handlers that ran.
#include "platform/program_window.h"

#include <cstdint>
#include <vector>

namespace testwindow {
constexpr uint32_t windowId = 0x52010101;
constexpr uint32_t secondWindowId = 0x52010102;
constexpr uint32_t ownEntry = 0x06010101;
constexpr uint32_t button = 0x06010102;
constexpr uint32_t edit = 0x06010103;

struct Record {
    int created = 0;
    int destroyed = 0;
    bool visibleWhenCreated = true;
    std::vector<uint32_t> clicks;
};

class TestWindow : public ProgramWindow {
public:
    explicit TestWindow(Record& record, uint32_t id = testwindow::windowId) : ProgramWindow(id), record_(record) {}

private:
    WindowFrame frame() const override
    {
        return {"KvTestWindow", "test", 0, nullptr, WS_CAPTION | WS_SYSMENU, 0, 10, 10, 200, 120};
    }
    void addControls() override
    {
        addControl({button, "BUTTON", "b", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 50, 20});
        addControl({edit, "EDIT", "e", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 30, 100, 20});
    }
    void onCreated() override
    {
        ++record_.created;
        record_.visibleWhenCreated = IsWindowVisible(handle()) != FALSE;
    }
    void onDestroy() override { ++record_.destroyed; }
    void onClicked(uint32_t componentId) override { record_.clicks.push_back(componentId); }

    Record& record_;
};
}  // namespace testwindow
