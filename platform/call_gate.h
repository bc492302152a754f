#pragma once
// The call gate: calls a system function with pointer-sized arguments in the platform's
// standard calling convention (stdcall on x86, the Windows x64 convention on x64) and
// measures whether the callee left the stack as it found it.
#include <cstddef>
#include <cstdint>

extern "C" uintptr_t kvCallGate(const void* function, const uintptr_t* arguments, std::size_t count,
                                intptr_t* stackDifference);

struct GateOutcome {
    uintptr_t result;          // the callee's integer result register
    intptr_t stackDifference;  // stack pointer after the return minus before the arguments, in bytes;
                               // positive when the callee removed too much, 0 when balanced
};

inline GateOutcome callThroughGate(const void* function, const uintptr_t* arguments, std::size_t count)
{
    GateOutcome outcome{};
    outcome.result = kvCallGate(function, arguments, count, &outcome.stackDifference);
    return outcome;
}
