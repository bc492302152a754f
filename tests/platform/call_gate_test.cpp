#include "platform/call_gate.h"

#include "tests/platform/test_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CallGate : public testing::Test {
protected:
    CallGate() : probe_(LoadLibraryA((testBinDirectory() + "\\gate_probe.dll").c_str())) {}
    ~CallGate() override { FreeLibrary(probe_); }

    const void* probeFunction(const std::string& name) const
    {
        return reinterpret_cast<const void*>(GetProcAddress(probe_, name.c_str()));
    }
    int receivedCount() const { return reinterpret_cast<int(WINAPI*)()>(probeFunction("probeReceivedCount"))(); }
    const uintptr_t* received() const
    {
        return reinterpret_cast<const uintptr_t*(WINAPI*)()>(probeFunction("probeReceived"))();
    }

    HMODULE probe_;
};

class BalancedCall : public CallGate, public testing::WithParamInterface<int> {};

TEST_P(BalancedCall, PassesEveryArgumentAndTheWholeResult)
{
    const int count = GetParam();
    const void* function = probeFunction("probe" + std::to_string(count));
    ASSERT_NE(function, nullptr);
    std::vector<uintptr_t> arguments;
    for (int i = 0; i < count; ++i)  // distinct in every byte, high half included
        arguments.push_back(static_cast<uintptr_t>(UINT64_C(0xF0E1D2C3B4A59687)) ^ (UINTPTR_MAX / 255 * (i + 1)));

    const GateOutcome outcome = callThroughGate(function, arguments.data(), arguments.size());

    EXPECT_EQ(outcome.stackDifference, 0);
    EXPECT_EQ(outcome.result, ~static_cast<uintptr_t>(count));
    ASSERT_EQ(receivedCount(), count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(received()[i], arguments[i]) << "argument " << i;
}

INSTANTIATE_TEST_SUITE_P(ZeroToTwelveArguments, BalancedCall, testing::Range(0, 13));

TEST_F(CallGate, CatchesACalleeThatRemovesTooMuchOrTooLittle)
{
    const struct {
        const char* function;
        intptr_t stackDifference;
    } cases[] = {
        {"probeRemovesTooMuch", static_cast<intptr_t>(sizeof(uintptr_t))},
        {"probeRemovesTooLittle", -static_cast<intptr_t>(sizeof(uintptr_t))},
    };
    const uintptr_t arguments[] = {1, 2};
    for (const auto& c : cases) {
        const GateOutcome outcome = callThroughGate(probeFunction(c.function), arguments, 2);
        EXPECT_EQ(outcome.stackDifference, c.stackDifference) << c.function;
        EXPECT_EQ(outcome.result, 42u) << c.function;
    }
}

}  // namespace
