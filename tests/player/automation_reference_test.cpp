// AutomationObject owns exactly one reference: counted here by the test server itself.
#include "tests/player/test_server_fixture.h"

#include <utility>

using AutomationReference = TestServerFixture;

TEST_F(AutomationReference, TheFilledSlotOwnsTheOneReferenceWithoutAskingTheObject)
{
    EXPECT_EQ(referencesOf(object.rawPointer()), 1u);
    EXPECT_EQ(calls().queryInterfaces, 0);
}

TEST_F(AutomationReference, CopyTakesAReferenceToTheSameObjectAndTheCopyOfEmptyIsEmpty)
{
    AutomationObject duplicate = object.copy();
    EXPECT_EQ(duplicate.rawPointer(), object.rawPointer());
    EXPECT_EQ(referencesOf(object.rawPointer()), 2u);
    duplicate.clear();
    EXPECT_EQ(referencesOf(object.rawPointer()), 1u);
    EXPECT_TRUE(AutomationObject().copy().isEmpty());
}

TEST_F(AutomationReference, AssignTakesTheNewReferenceAndGivesBackTheOld)
{
    AutomationObject other = make(CLSID_TypedTestObject);
    IUnknown* first = object.rawPointer();
    IUnknown* second = other.rawPointer();
    first->AddRef();  // keep the first object alive to count it
    object.assign(other);
    EXPECT_EQ(object.rawPointer(), second);
    EXPECT_EQ(referencesOf(second), 2u);
    EXPECT_EQ(referencesOf(first), 1u);
    first->Release();
    EXPECT_EQ(testServerRecording()->liveObjects, 1);
}

TEST_F(AutomationReference, AssigningAnEmptyObjectReleasesAndEmpties)
{
    AutomationObject keeper = object.copy();
    object.assign(AutomationObject());
    EXPECT_TRUE(object.isEmpty());
    EXPECT_EQ(referencesOf(keeper.rawPointer()), 1u);
}

TEST_F(AutomationReference, SelfAssignKeepsTheReference)
{
    IUnknown* held = object.rawPointer();
    object.assign(object);
    EXPECT_EQ(object.rawPointer(), held);
    EXPECT_EQ(referencesOf(held), 1u);
}

TEST_F(AutomationReference, ClearReleasesOnceAndClearingAgainDoesNothing)
{
    AutomationObject keeper = object.copy();
    object.clear();
    EXPECT_TRUE(object.isEmpty());
    EXPECT_EQ(referencesOf(keeper.rawPointer()), 1u);
    object.clear();
    EXPECT_EQ(referencesOf(keeper.rawPointer()), 1u);
}

TEST_F(AutomationReference, DestroyingTheLastReferenceDestroysTheObject)
{
    {
        AutomationObject scoped = make(CLSID_TypedTestObject);
        EXPECT_EQ(testServerRecording()->liveObjects, 2);
    }
    EXPECT_EQ(testServerRecording()->liveObjects, 1);
}

TEST_F(AutomationReference, MovingHandsTheReferenceOnWithoutCounting)
{
    IUnknown* held = object.rawPointer();
    AutomationObject moved(std::move(object));
    EXPECT_TRUE(object.isEmpty());
    EXPECT_EQ(moved.rawPointer(), held);
    EXPECT_EQ(referencesOf(held), 1u);
    object = std::move(moved);
    EXPECT_EQ(object.rawPointer(), held);
    EXPECT_EQ(referencesOf(held), 1u);
}
