#pragma once
// The receiver handed to PlayerControl::create. Nothing reads its values; only attached
// is ever called, with the address of the control's player reference.
#include <cstdint>
#include <vector>

class PlayerEventSink {
public:
    virtual void destroy();
    virtual PlayerEventSink* copy() const;  // a new heap instance (heap_object.h)
    virtual int32_t notify1(int32_t first, int32_t second, int32_t third);
    virtual int32_t notify2(int32_t first, int32_t second);
    virtual int32_t notify3();
    virtual int32_t notify4(int32_t value);
    virtual int32_t notify5(int32_t value);
    virtual int32_t notify6();
    virtual int32_t notify7(int32_t value);
    virtual int32_t notify8(int32_t first, int32_t second);
    virtual int32_t attached(intptr_t playerReference);

    std::vector<int32_t> values = std::vector<int32_t>(8, 0);
    int32_t tag = 0;
};
