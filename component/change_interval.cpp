#include "component/change_interval.h"

#include "component/kv_settings.h"

namespace {
constexpr int defaultMinutes = 10;
}  // namespace

std::chrono::minutes changeInterval()
{
    const int minutes = playSetting(L"换片间隔", defaultMinutes);
    return std::chrono::minutes(minutes < 0 ? defaultMinutes : minutes);
}

bool changeAtPassEnd(std::chrono::milliseconds played, std::chrono::minutes interval) { return played >= interval; }
