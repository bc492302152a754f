#include "player/player_event_sink.h"

#include "player/heap_object.h"

void PlayerEventSink::destroy() { std::vector<int32_t>().swap(values); }

PlayerEventSink* PlayerEventSink::copy() const { return createInBlock<PlayerEventSink>(*this); }

int32_t PlayerEventSink::notify1(int32_t, int32_t, int32_t) { return 0; }
int32_t PlayerEventSink::notify2(int32_t, int32_t) { return 0; }
int32_t PlayerEventSink::notify3() { return 0; }
int32_t PlayerEventSink::notify4(int32_t) { return 0; }
int32_t PlayerEventSink::notify5(int32_t) { return 0; }
int32_t PlayerEventSink::notify6() { return 0; }
int32_t PlayerEventSink::notify7(int32_t) { return 0; }
int32_t PlayerEventSink::notify8(int32_t, int32_t) { return 0; }
int32_t PlayerEventSink::attached(intptr_t) { return 0; }
