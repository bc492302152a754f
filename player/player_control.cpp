#include "player/player_control.h"

#include <cmath>

#include "platform/external_calls.h"
#include "platform/process_state.h"
#include "player/component_loader.h"
#include "player/heap_object.h"
#include "player/player_event_sink.h"
#include "player/player_globals.h"

namespace {

constexpr char componentFileName[] = "\\APlayer.dll";
constexpr char componentClassId[] = "{A9332148-C691-4B9D-91FC-B9C461DBE9DD}";
constexpr char hostClassName[] = "AtlAxWin";
constexpr DWORD hostExStyle = WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW;
constexpr DWORD hostStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr int32_t firstHostIdBase = 500;
constexpr int32_t defaultHostWidth = 600;
constexpr int32_t defaultHostHeight = 300;

}  // namespace

int64_t truncateNumber(double value)
{
    constexpr double limit = 9223372036854775807.0;
    if (std::isnan(value) || value >= limit || value < -limit)
        return 0;
    return static_cast<int64_t>(value);
}

void PlayerControl::destroy() { player.clear(); }

PlayerControl* PlayerControl::copy() const
{
    auto* duplicate = createInBlock<PlayerControl>();
    duplicate->player = player.copy();
    duplicate->lastHostId = lastHostId;
    duplicate->componentModule = componentModule;
    duplicate->hostWindow = hostWindow;
    return duplicate;
}

HWND PlayerControl::createHost(PlayerEventSink& sink, HWND parentWindow, int32_t left, int32_t top, int32_t width,
                               int32_t height)
{
    lastHostId = (lastHostId == 0 ? firstHostIdBase : lastHostId) + 1;
    if (width == 0)
        width = defaultHostWidth;
    if (height == 0)
        height = defaultHostHeight;

    HINSTANCE instance = ext::getModuleHandle(site::hostInstance, nullptr);
    hostWindow =
        ext::createWindowEx(site::hostCreateWindow, hostExStyle, hostClassName, "", hostStyle, left, top, width, height,
                            parentWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(lastHostId)), instance, nullptr);
    if (reinterpret_cast<INT_PTR>(hostWindow) <= 0)
        return nullptr;

    // The host keeps the control alive: the reference taken here is never given back.
    IUnknown* stored = player.rawPointer();
    IUnknown* control = nullptr;
    ext::moveMemory(site::hostReadPointer, &control, &stored, sizeof control);
    if (control)
        control->AddRef();
    ext::atlAxAttachControl(site::hostAttach, control, hostWindow, nullptr);

    sink.attached(reinterpret_cast<intptr_t>(&player));
    return hostWindow;
}

bool PlayerControl::create(HWND parentWindow, PlayerEventSink& sink, int32_t left, int32_t top, int32_t width,
                           int32_t height, bool keepPrivate)
{
    if (componentModule)
        return true;

    const std::string dllPath = processState.programDirectory + componentFileName;
    player.clear();
    player = loadComponent(componentClassId, dllPath.c_str(), &componentModule);

    if (sharedPlayer->isEmpty() && !keepPrivate) {
        sharedPlayer->clear();
        *sharedPlayer = player.copy();
    }
    if (!player.isEmpty())
        hostWindow = createHost(sink, parentWindow, left, top, width, height);
    return componentModule != nullptr;
}

HWND PlayerControl::hostWindowHandle() const { return hostWindow; }

int64_t PlayerControl::open(std::string fileName)
{
    player.invoke("Open", {fileName});
    return 0;
}

int64_t PlayerControl::close() { return truncateNumber(player.invokeNumber("Close")); }
int64_t PlayerControl::play() { return truncateNumber(player.invokeNumber("Play")); }
int64_t PlayerControl::pause() { return truncateNumber(player.invokeNumber("Pause")); }

std::string PlayerControl::version()
{
    if (player.isEmpty())
        return {};
    return player.invokeText("GetVersion");
}

int64_t PlayerControl::setCustomLogo(int32_t logo)
{
    return truncateNumber(player.invokeNumber("SetCustomLogo", {logo}));
}
int64_t PlayerControl::state() { return truncateNumber(player.invokeNumber("GetState")); }
int64_t PlayerControl::duration() { return truncateNumber(player.invokeNumber("GetDuration")); }
int64_t PlayerControl::position() { return truncateNumber(player.invokeNumber("GetPosition")); }

int64_t PlayerControl::setPosition(int64_t newPosition)
{
    return truncateNumber(player.invokeNumber("SetPosition", {newPosition}));
}

int64_t PlayerControl::videoWidth() { return truncateNumber(player.invokeNumber("GetVideoWidth")); }
int64_t PlayerControl::videoHeight() { return truncateNumber(player.invokeNumber("GetVideoHeight")); }

int64_t PlayerControl::volume(std::optional<int32_t> newVolume)
{
    if (!newVolume)
        return truncateNumber(player.invokeNumber("GetVolume"));
    int32_t value = *newVolume;
    return truncateNumber(player.invokeNumber("SetVolume", {value}));
}

bool PlayerControl::isSeeking() { return player.invokeBool("IsSeeking"); }
int64_t PlayerControl::bufferProgress() { return truncateNumber(player.invokeNumber("GetBufferProgress")); }

// Both seek helpers move the position back; they differ in their guard only: against the
// whole duration here, against the current position in stepBack.
void PlayerControl::stepBackWithinDuration(int64_t seconds)
{
    const double step = static_cast<double>(seconds) * 1000.0;
    if (step - static_cast<double>(duration()) > 1e-7)
        return;
    setPosition(truncateNumber(static_cast<double>(position()) - step));
}

void PlayerControl::stepBack(int64_t seconds)
{
    const double step = static_cast<double>(seconds) * 1000.0;
    if (static_cast<double>(position()) - step < -1e-7)
        return;
    setPosition(truncateNumber(static_cast<double>(position()) - step));
}

std::string PlayerControl::config(int32_t item, std::optional<std::string> value)
{
    VARIANT result;
    if (value) {
        std::string text = *value;
        result = player.invokeVariant("SetConfig", {item, text});
    } else {
        result = player.invokeVariant("GetConfig", {item, CallArgument::omitted()});
    }
    std::string text = variantToText(result);
    releaseVariant(result);
    return text;
}

AutomationObject PlayerControl::playerObject() const { return player.copy(); }
