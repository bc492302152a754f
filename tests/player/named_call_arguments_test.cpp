// What a named call sends: arguments last first, each as its own VARIANT type, trailing
// omitted ones dropped, by-reference parameters backed and converted, [out] values
// written back into the caller's variables.
#include "tests/player/test_server_fixture.h"

#include <cstdint>
#include <string>

namespace {

using NamedCallArguments = TestServerFixture;

TEST_F(NamedCallArguments, TrailingOmittedArgumentsAreDropped)
{
    object.invokeNumber("Close", {CallArgument::omitted()});
    ASSERT_EQ(calls().invokes, 1);
    EXPECT_EQ(sent().member, member::close);
    EXPECT_EQ(sent().argumentCount, 0u);

    int32_t item = 7;
    VARIANT value = object.invokeVariant("GetConfig", {item, CallArgument::omitted()});
    ASSERT_EQ(calls().invokes, 2);
    EXPECT_EQ(sent().argumentCount, 1u);
    EXPECT_EQ(sent().arguments[0].type, VT_I4);
    EXPECT_EQ(sent().arguments[0].integer, 7);
    EXPECT_EQ(variantToText(value), "7");
    releaseVariant(value);
}

TEST_F(NamedCallArguments, AnOmittedArgumentBeforeAGivenOneIsSentAsParamNotFound)
{
    std::string text = "a";
    object.invokeNumber("SetConfig", {CallArgument::omitted(), text});
    ASSERT_EQ(calls().invokes, 1);
    EXPECT_EQ(sent().argumentCount, 2u);
    EXPECT_EQ(sent().arguments[1].type, VT_ERROR);
    EXPECT_EQ(sent().arguments[1].integer, static_cast<LONG>(DISP_E_PARAMNOTFOUND));
}

TEST_F(NamedCallArguments, ArgumentsAreSentLastFirst)
{
    int32_t item = 8;
    std::string text = "中文路径.mp4";
    EXPECT_EQ(object.invokeNumber("SetConfig", {item, text}), 8.0);
    ASSERT_EQ(sent().argumentCount, 2u);
    EXPECT_EQ(sent().arguments[0].type, VT_BSTR);
    EXPECT_STREQ(sent().arguments[0].text, L"中文路径.mp4");
    EXPECT_EQ(sent().arguments[1].type, VT_I4);
    EXPECT_EQ(sent().arguments[1].integer, 8);
}

TEST_F(NamedCallArguments, FewerArgumentsThanParametersAreSentAsTheyAre)
{
    int32_t item = 9;
    object.invokeNumber("SetConfig", {item});
    EXPECT_EQ(sent().argumentCount, 1u);
    EXPECT_EQ(sent().arguments[0].integer, 9);
}

TEST_F(NamedCallArguments, AnEmptyTextIsANullBstr)
{
    std::string empty;
    object.invoke("Open", {empty});
    EXPECT_EQ(sent().arguments[0].type, VT_BSTR);
    EXPECT_TRUE(sent().arguments[0].nullText);
}

TEST_F(NamedCallArguments, A64BitValueTravelsAsItsLow32Bits)
{
    int64_t position = (int64_t{1} << 32) + 5;
    EXPECT_EQ(object.invokeNumber("SetPosition", {position}), 5.0);
    EXPECT_EQ(sent().arguments[0].type, VT_I4);
    EXPECT_EQ(sent().arguments[0].integer, 5);
}

TEST_F(NamedCallArguments, ADoubleTravelsAsR8)
{
    double factor = 1.25;
    EXPECT_EQ(object.invokeNumber("Scale", {factor}), 2.5);
    EXPECT_EQ(sent().arguments[0].type, VT_R8);
    EXPECT_EQ(sent().arguments[0].real, 1.25);
}

struct BoolCase {
    bool given;
    LONGLONG sentValue;
    bool answer;
};

class NamedCallBoolArgument : public TestServerFixture, public ::testing::WithParamInterface<BoolCase> {};

TEST_P(NamedCallBoolArgument, TravelsAsVariantBool)
{
    bool flag = GetParam().given;
    EXPECT_EQ(object.invokeBool("Invert", {flag}), GetParam().answer);
    EXPECT_EQ(sent().arguments[0].type, VT_BOOL);
    EXPECT_EQ(sent().arguments[0].integer, GetParam().sentValue);
}

INSTANTIATE_TEST_SUITE_P(Values, NamedCallBoolArgument,
                         ::testing::Values(BoolCase{true, VARIANT_TRUE, false}, BoolCase{false, VARIANT_FALSE, true}));

TEST_F(NamedCallArguments, OutParametersAreWrittenBackInto64And32BitVariables)
{
    int64_t number = 7;
    std::string text = "x";
    object.invoke("GetPair", {number, text});
    ASSERT_EQ(calls().invokes, 1);
    EXPECT_EQ(sent().arguments[1].type, VT_BYREF | VT_I4);
    EXPECT_EQ(sent().arguments[1].integer, 7);
    EXPECT_EQ(sent().arguments[0].type, VT_BYREF | VT_BSTR);
    EXPECT_STREQ(sent().arguments[0].text, L"x");
    EXPECT_EQ(number, -1);
    EXPECT_EQ(text, "中文");

    int32_t narrow = 7;
    std::string other;
    object.invoke("GetPair", {narrow, other});
    EXPECT_EQ(narrow, -1);
    EXPECT_EQ(other, "中文");
}

// A by-reference parameter gets the argument converted to its declared type.
struct ReferenceCase {
    const char* name;
    int32_t given;
    VARTYPE sentType;
    VARTYPE referencedType;  // for VT_BYREF | VT_VARIANT
    int32_t writtenBack;
};

class NamedCallByReference : public TestServerFixture, public ::testing::WithParamInterface<ReferenceCase> {};

TEST_P(NamedCallByReference, ConvertsToTheDeclaredTypeAndWritesBackOnlyOutParameters)
{
    const ReferenceCase& expected = GetParam();
    int32_t value = expected.given;
    object.invoke(expected.name, {value});
    ASSERT_EQ(calls().invokes, 1);
    EXPECT_EQ(sent().arguments[0].type, expected.sentType);
    EXPECT_EQ(sent().arguments[0].referencedType, expected.referencedType);
    EXPECT_EQ(value, expected.writtenBack);
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, NamedCallByReference,
    ::testing::Values(ReferenceCase{"Twice", 3, VT_BYREF | VT_R8, VT_EMPTY, 6},      // double*
                      ReferenceCase{"Swap", 1, VT_BYREF | VT_VARIANT, VT_I4, 99},    // VARIANT*
                      ReferenceCase{"NextSpeed", 1, VT_BYREF | VT_I4, VT_EMPTY, 2},  // enum*
                      ReferenceCase{"NextMode", 1, VT_BYREF | VT_I4, VT_EMPTY, 2},   // alias of an enum*
                      ReferenceCase{"Widen", 3, VT_BYREF | VT_I4, VT_EMPTY, 3000},   // alias of long*
                      ReferenceCase{"Peek", 1, VT_BYREF | VT_I4, VT_EMPTY, 1}));     // [in] only

TEST_F(NamedCallArguments, AValueThatDoesNotConvertIsSentAsItIs)
{
    std::string text = "abc";
    object.invoke("Twice", {text});
    ASSERT_EQ(calls().invokes, 1);
    EXPECT_EQ(sent().arguments[0].type, VT_BSTR);
    EXPECT_STREQ(sent().arguments[0].text, L"abc");
    EXPECT_EQ(text, "abc");
}

TEST_F(NamedCallArguments, AnOmittedByReferenceArgumentIsSentByValueAndAFailedCallWritesNothing)
{
    std::string text = "kept";
    object.invoke("GetPair", {CallArgument::omitted(), text});
    ASSERT_EQ(calls().invokes, 1);
    EXPECT_EQ(sent().arguments[1].type, VT_ERROR);
    EXPECT_EQ(sent().arguments[0].type, VT_BYREF | VT_BSTR);
    EXPECT_EQ(text, "kept");
}

TEST_F(NamedCallArguments, SurplusArgumentsFillAVariableArgumentList)
{
    int32_t a = 1, b = 2, c = 3, d = 4;
    EXPECT_EQ(object.invokeNumber("Sum", {a, b, c, d}), 10.0);
    ASSERT_EQ(sent().argumentCount, 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sent().arguments[i].type, VT_I4);
        EXPECT_EQ(sent().arguments[i].integer, 4 - i);
    }
}

TEST_F(NamedCallArguments, ALongArgumentListIsSentWhole)
{
    int32_t v[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(object.invokeNumber("Sum", {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]}), 55.0);
    EXPECT_EQ(sent().argumentCount, 10u);
}

TEST_F(NamedCallArguments, TooManyArgumentsWithoutAVariableListAreNotSent)
{
    int32_t extra = 1;
    EXPECT_EQ(object.invokeNumber("Play", {extra}), 0.0);
    EXPECT_EQ(object.invokeNumber("Count", {extra}), 0.0);
    EXPECT_EQ(calls().invokes, 0);
}

}  // namespace
