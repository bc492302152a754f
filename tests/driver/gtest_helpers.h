#pragma once
// Test helpers that need GoogleTest, shared by the test programs. Header-only: kv_driver is
// linked by the benchmarks too, which have no GoogleTest.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

namespace kvtest {

// Each side of the rectangle on its own, so a failure names the side that differs.
inline void expectRect(const RECT& rect, const RECT& expected)
{
    EXPECT_EQ(rect.left, expected.left);
    EXPECT_EQ(rect.top, expected.top);
    EXPECT_EQ(rect.right, expected.right);
    EXPECT_EQ(rect.bottom, expected.bottom);
}

// OLE set up on the test's thread from SetUp to TearDown, as on the product's thread that hosts
// the control. A fixture that sets up more runs this SetUp first (ASSERT_NO_FATAL_FAILURE) and
// this TearDown last.
class OleTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

}  // namespace kvtest
