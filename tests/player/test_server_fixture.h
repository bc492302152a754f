#pragma once
// Named-call tests run against the recording test server: OLE is initialised for each test,
// objects are made the way the player makes its component (class factory, IID_IDispatch,
// written straight into an AutomationObject), and the recording starts empty.
#include <gtest/gtest.h>
#include <wrl/client.h>

#include "player/automation_object.h"
#include "tests/driver/gtest_helpers.h"
#include "tests/fixtures/test_com_server/test_com_server.h"

class TestServerFixture : public kvtest::OleTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OleTest::SetUp());
        object = make(CLSID_TypedTestObject);
        ASSERT_FALSE(object.isEmpty());
        clearCalls();
    }
    void TearDown() override
    {
        object.clear();
        EXPECT_EQ(testServerRecording()->liveObjects, 0);
        EXPECT_EQ(testServerRecording()->liveTypeWrappers, 0);
        OleTest::TearDown();
    }

    static AutomationObject make(const CLSID& kind)
    {
        Microsoft::WRL::ComPtr<IClassFactory> factory;
        AutomationObject made;
        if (SUCCEEDED(testServerClassObject(kind, IID_IClassFactory, &factory)))
            factory->CreateInstance(nullptr, IID_IDispatch, made.pointerSlot());
        return made;
    }
    static TestServerCalls& calls() { return testServerRecording()->calls; }
    static void clearCalls() { calls() = TestServerCalls{}; }
    static const RecordedInvoke& sent() { return calls().lastInvoke; }
    // The server's own count, read without changing it.
    static ULONG referencesOf(IUnknown* counted)
    {
        counted->AddRef();
        return counted->Release();
    }

    AutomationObject object;
};
