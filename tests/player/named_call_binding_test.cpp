// How a name reaches a member: the object's type information is asked afresh on every
// call, the name is hashed and bound kind by kind, and everything taken is given back.
#include "tests/player/test_server_fixture.h"

#include <string>
#include <utility>

namespace {

struct ExpectedBind {
    const char* name;
    int attempts;  // Bind calls until the first success code (4: none)
    bool invoked;
    DISPID member;
    WORD flags;  // wFlags of Invoke
};

class NamedCallBinding : public TestServerFixture, public ::testing::WithParamInterface<ExpectedBind> {};

const ExpectedBind bindCases[] = {
    {"Play", 1, true, member::play, DISPATCH_METHOD},
    {"play", 1, true, member::play, DISPATCH_METHOD},
    {"Name", 2, true, member::name, DISPATCH_PROPERTYGET},
    {"Level", 2, true, member::level, DISPATCH_PROPERTYGET},
    {"Limit", 3, true, member::limit, DISPATCH_PROPERTYPUT},
    {"Count", 1, true, member::count, DISPATCH_PROPERTYGET},
    {"Application", 1, true, member::count, DISPATCH_PROPERTYGET},
    {"Nested", 1, false, 0, 0},
    {"Target", 4, true, member::target, DISPATCH_PROPERTYPUTREF},
    {"NoSuchMember", 1, false, 0, 0},  // Bind succeeds with DESCKIND_NONE
};

TEST_P(NamedCallBinding, TriesTheInvokeKindsInOrderAndCallsWhatBound)
{
    const ExpectedBind& expected = GetParam();
    object.invoke(expected.name);

    ASSERT_EQ(calls().binds, expected.attempts);
    static const WORD kinds[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
    for (int i = 0; i < expected.attempts; ++i)
        EXPECT_EQ(calls().bindAttempts[i].flags, kinds[i]) << i;
    EXPECT_EQ(calls().invokes, expected.invoked ? 1 : 0);
    if (expected.invoked) {
        EXPECT_EQ(sent().member, expected.member);
        EXPECT_EQ(sent().flags, expected.flags);
    }
}

INSTANTIATE_TEST_SUITE_P(Members, NamedCallBinding, ::testing::ValuesIn(bindCases));

using NamedCall = TestServerFixture;

TEST_F(NamedCall, HashesTheNameWithLHashValOfNameSysForTheUserLocale)
{
    object.invokeText("GetVersion");
    const LCID lcid = GetUserDefaultLCID();
    wchar_t name[] = L"GetVersion";
    ASSERT_EQ(calls().binds, 1);
    EXPECT_STREQ(calls().bindAttempts[0].name, L"GetVersion");
    EXPECT_EQ(calls().bindAttempts[0].hash, LHashValOfNameSys(SYS_WIN32, lcid, name));
    EXPECT_EQ(calls().typeInfoLcid, lcid);
    EXPECT_EQ(sent().lcid, lcid);
}

TEST_F(NamedCall, InvokesWithNullInterfaceNoExceptionInfoAndAPresetArgError)
{
    object.invoke("Stop");
    ASSERT_EQ(calls().invokes, 1);
    EXPECT_TRUE(sent().nullInterfaceId);
    EXPECT_TRUE(sent().resultGiven);
    EXPECT_FALSE(sent().exceptionInfoGiven);
    ASSERT_TRUE(sent().argErrorGiven);
    EXPECT_EQ(sent().argErrorPreset, 0xFFFFFFFFu);
    EXPECT_EQ(sent().namedCount, 0u);
}

TEST_F(NamedCall, PutsAndPutRefsSendTheValueAsTheNamedPropertyPutArgument)
{
    for (const auto& [name, flags] : {std::pair{"Limit", DISPATCH_PROPERTYPUT}, {"Target", DISPATCH_PROPERTYPUTREF}}) {
        clearCalls();
        int32_t value = 5;
        object.invoke(name, {value});
        ASSERT_EQ(calls().invokes, 1) << name;
        EXPECT_EQ(sent().flags, flags) << name;
        EXPECT_EQ(sent().argumentCount, 1u) << name;
        EXPECT_EQ(sent().namedCount, 1u) << name;
        EXPECT_EQ(sent().namedId, DISPID_PROPERTYPUT) << name;
        EXPECT_EQ(sent().arguments[0].type, VT_I4) << name;
        EXPECT_EQ(sent().arguments[0].integer, 5) << name;
    }
}

TEST_F(NamedCall, APropertyWithAGetterBindsTheGetterSoAValueIsTooMany)
{
    int32_t level = 3;
    EXPECT_EQ(object.invokeNumber("Level", {level}), 0.0);
    EXPECT_EQ(calls().invokes, 0);
}

TEST_F(NamedCall, AsksTheObjectAfreshOnEveryCall)
{
    object.invokeNumber("Play");
    object.invokeNumber("Play");
    EXPECT_EQ(calls().queryInterfaces, 2);
    EXPECT_EQ(calls().typeInfoRequests, 2);
    EXPECT_EQ(calls().binds, 2);
    EXPECT_EQ(calls().nameLookups, 0);
}

// The type library's own ITypeInfo for the test interface: the one Bind hands out.
Microsoft::WRL::ComPtr<ITypeInfo> boundTypeInfoOf(IUnknown* object)
{
    Microsoft::WRL::ComPtr<IDispatch> dispatch;
    Microsoft::WRL::ComPtr<ITypeInfo> wrapper, real;
    Microsoft::WRL::ComPtr<ITypeLib> library;
    UINT index = 0;
    if (SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&dispatch))) &&
        SUCCEEDED(dispatch->GetTypeInfo(0, GetUserDefaultLCID(), &wrapper)) &&
        SUCCEEDED(wrapper->GetContainingTypeLib(&library, &index)))
        library->GetTypeInfoOfGuid(DIID_TestAutomation, &real);
    return real;
}

TEST_F(NamedCall, GivesBackEverythingItTookOnEveryWayOut)
{
    IUnknown* held = object.rawPointer();
    Microsoft::WRL::ComPtr<ITypeInfo> bound = boundTypeInfoOf(held);
    ASSERT_TRUE(bound);
    const ULONG boundReferences = referencesOf(bound.Get());
    int32_t one = 1;
    std::string text = "x";
    object.invokeNumber("Play");            // success
    object.invokeNumber("NoSuchMember");    // binds to nothing
    object.invokeNumber("Nested");          // binds to a type
    object.invokeNumber("Play", {one});     // too many arguments
    object.invokeNumber("Fail");            // Invoke fails
    object.invokeNumber("GetVersion");      // the result does not coerce
    object.invoke("GetPair", {one, text});  // by-reference arguments
    object.invokeNumber("Count");           // a variable
    object.invokeNumber("Application");     // an implicit application object
    object.invoke("NextMode", {one});       // a user-defined type resolved
    EXPECT_EQ(referencesOf(held), 1u);
    EXPECT_EQ(referencesOf(bound.Get()), boundReferences);
    EXPECT_EQ(testServerRecording()->liveTypeWrappers, 0);
}

// Every form of a call that cannot be made gives its default.
void expectDefaults(const AutomationObject& target, const char* name)
{
    EXPECT_EQ(target.invokeNumber(name), 0.0) << name;
    EXPECT_EQ(target.invokeText(name), "") << name;
    EXPECT_FALSE(target.invokeBool(name)) << name;
    VARIANT value = target.invokeVariant(name);
    EXPECT_EQ(V_VT(&value), VT_EMPTY) << name;
    releaseVariant(value);
}

TEST_F(NamedCall, AnEmptyObjectGivesTheDefaultsAndTouchesNothing)
{
    AutomationObject empty;
    expectDefaults(empty, "Play");
    empty.invoke("Stop");
    EXPECT_EQ(calls().queryInterfaces, 0);
    EXPECT_EQ(calls().typeInfoRequests, 0);
    EXPECT_EQ(calls().invokes, 0);
}

TEST_F(NamedCall, AnObjectWithoutTypeInformationGivesTheDefaultsEvenForNamesItKnows)
{
    AutomationObject untyped = make(CLSID_UntypedTestObject);
    ASSERT_FALSE(untyped.isEmpty());
    clearCalls();
    expectDefaults(untyped, "Play");
    EXPECT_EQ(calls().typeInfoRequests, 4);
    EXPECT_EQ(calls().nameLookups, 0);
    EXPECT_EQ(calls().invokes, 0);
    EXPECT_EQ(referencesOf(untyped.rawPointer()), 1u);
}

TEST_F(NamedCall, AnUnknownNameGivesTheDefaults)
{
    expectDefaults(object, "NoSuchMember");
    EXPECT_EQ(calls().invokes, 0);
}

}  // namespace
