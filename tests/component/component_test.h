#pragma once
// A test of our component: OLE set up on the test's thread, APlayer.dll loaded from the build.
#include "tests/component/component_host.h"
#include "tests/driver/gtest_helpers.h"

class ComponentTest : public kvtest::OleTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OleTest::SetUp());
        ASSERT_TRUE(library.loaded());
    }

    ComponentLibrary library;
};
