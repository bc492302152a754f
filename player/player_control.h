#pragma once
// The program's wrapper around one instance of the playback component: loading it from
// the program directory, hosting it in an "AtlAxWin" child window, and its operations as
// named calls. The virtual operations keep this order (slots 0 to 23).
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "player/automation_object.h"

class PlayerEventSink;

class PlayerControl {
public:
    virtual void destroy();               // releases the component reference only
    virtual PlayerControl* copy() const;  // a new heap instance (heap_object.h)
    virtual HWND createHost(PlayerEventSink& sink, HWND parentWindow, int32_t left, int32_t top, int32_t width,
                            int32_t height);
    virtual bool create(HWND parentWindow, PlayerEventSink& sink, int32_t left, int32_t top, int32_t width,
                        int32_t height, bool keepPrivate = false);
    virtual HWND hostWindowHandle() const;
    virtual int64_t open(std::string fileName);
    virtual int64_t close();
    virtual int64_t play();
    virtual int64_t pause();
    virtual std::string version();
    virtual int64_t setCustomLogo(int32_t logo);
    virtual int64_t state();
    virtual int64_t duration();
    virtual int64_t position();
    virtual int64_t setPosition(int64_t newPosition);
    virtual int64_t videoWidth();
    virtual int64_t videoHeight();
    virtual int64_t volume(std::optional<int32_t> newVolume = std::nullopt);
    virtual bool isSeeking();
    virtual int64_t bufferProgress();
    virtual void stepBackWithinDuration(int64_t seconds);
    virtual void stepBack(int64_t seconds);
    virtual std::string config(int32_t item, std::optional<std::string> value = std::nullopt);
    virtual AutomationObject playerObject() const;

    AutomationObject player;
    int32_t lastHostId = 0;
    HMODULE componentModule = nullptr;
    HWND hostWindow = nullptr;
};

// A number result of the component, truncated toward zero (out of range and NaN give 0).
int64_t truncateNumber(double value);
