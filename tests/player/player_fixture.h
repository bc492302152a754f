#pragma once
// One PlayerControl, its sink and a fresh shared player reference per test, a parent
// window for the host, and an empty call log.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "platform/process_state.h"
#include "player/automation_object.h"
#include "player/player_control.h"
#include "player/player_event_sink.h"
#include "player/player_globals.h"
#include "tests/player/recording_folder.h"

class PlayerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        recording_folder::reset();
        processState.programDirectory = recording_folder::path();
        shared = std::make_unique<AutomationObject>();
        sharedPlayer = shared.get();
        parent =
            CreateWindowExA(0, "STATIC", "player test", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        control.destroy();
        shared->clear();
        sharedPlayer = nullptr;
    }

    // create on the fixture's control, filling the parent at the given size.
    bool create(int width = 640, int height = 360, bool keepPrivate = false)
    {
        return control.create(parent, sink, 0, 0, width, height, keepPrivate);
    }

    static std::string className(HWND window)
    {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        return name;
    }
    static SIZE clientSize(HWND window)
    {
        RECT area{};
        GetClientRect(window, &area);
        return {area.right, area.bottom};
    }

    PlayerControl control;
    PlayerEventSink sink;
    std::unique_ptr<AutomationObject> shared;
    HWND parent = nullptr;
};
