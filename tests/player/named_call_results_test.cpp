// What a named call gives back in each form, and the VARIANT helpers for its variant form.
#include "tests/player/test_server_fixture.h"

#include <cstring>
#include <string>

namespace {

struct ResultCase {
    const char* name;
    double number;
    const char* text;
    bool truth;
};

class NamedCallResults : public TestServerFixture, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(NamedCallResults, AreCoercedToEachForm)
{
    const ResultCase& expected = GetParam();
    EXPECT_EQ(object.invokeNumber(expected.name), expected.number);
    EXPECT_EQ(object.invokeText(expected.name), expected.text);
    EXPECT_EQ(object.invokeBool(expected.name), expected.truth);
}

INSTANTIATE_TEST_SUITE_P(Members, NamedCallResults,
                         ::testing::Values(ResultCase{"GetTwelve", 12.0, "12", true},         // text "12"
                                           ResultCase{"Stop", 0.0, "", false},                // nothing
                                           ResultCase{"Close", 7.5, "7.5", true},             // double
                                           ResultCase{"Play", 1.0, "1", true},                // long
                                           ResultCase{"IsSeeking", -1.0, "-1", true},         // VARIANT_BOOL
                                           ResultCase{"GetVersion", 0.0, "版本 1.0", false},  // text that is no number
                                           ResultCase{"Count", 42.0, "42", true},             // by-reference result
                                           ResultCase{"Fail", 0.0, "", false}));              // DISP_E_EXCEPTION

using NamedCallVariant = TestServerFixture;

TEST_F(NamedCallVariant, GivesTheResultDereferencedEmptyForNothingAndZeroBytesOnFailure)
{
    VARIANT value = object.invokeVariant("Count");
    EXPECT_EQ(V_VT(&value), VT_I4);
    EXPECT_EQ(V_I4(&value), 42);
    releaseVariant(value);

    value = object.invokeVariant("Stop");
    EXPECT_EQ(V_VT(&value), VT_EMPTY);
    releaseVariant(value);

    value = object.invokeVariant("Fail");
    const VARIANT zero{};
    EXPECT_EQ(std::memcmp(&value, &zero, sizeof value), 0);
    EXPECT_EQ(calls().invokes, 3);
}

TEST(ReleaseVariant, ClearsAndZeroesEveryByte)
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocString(L"text");
    releaseVariant(value);
    const VARIANT zero{};
    EXPECT_EQ(std::memcmp(&value, &zero, sizeof value), 0);
}

struct TextCase {
    const char* what;
    VARIANT value;
    const char* text;
};

VARIANT ofType(VARTYPE type)
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = type;
    return value;
}

VARIANT integer(LONG number)
{
    VARIANT value = ofType(VT_I4);
    V_I4(&value) = number;
    return value;
}

VARIANT real(double number)
{
    VARIANT value = ofType(VT_R8);
    V_R8(&value) = number;
    return value;
}

LONG referencedNumber = 42;

VARIANT reference()
{
    VARIANT value = ofType(VT_BYREF | VT_I4);
    V_I4REF(&value) = &referencedNumber;
    return value;
}

TEST(VariantToText, ConvertsWhatConvertsAndGivesEmptyTextOtherwise)
{
    const TextCase cases[] = {
        {"VT_I4 7", integer(7), "7"},     {"VT_EMPTY", ofType(VT_EMPTY), ""},
        {"VT_R8 2.5", real(2.5), "2.5"},  {"VT_BYREF | VT_I4", reference(), "42"},
        {"VT_NULL", ofType(VT_NULL), ""},
    };
    for (const TextCase& c : cases) {
        VARIANT before = c.value;
        EXPECT_EQ(variantToText(c.value), c.text) << c.what;
        EXPECT_EQ(std::memcmp(&before, &c.value, sizeof before), 0) << c.what;
    }
}

TEST(VariantToText, GivesTheAnsiFormOfAText)
{
    VARIANT value = ofType(VT_BSTR);
    V_BSTR(&value) = SysAllocString(L"中文");
    EXPECT_EQ(variantToText(value), "中文");
    VariantClear(&value);
}

TEST(VariantToText, GivesEmptyTextForAnArray)
{
    VARIANT value = ofType(VT_ARRAY | VT_I4);
    V_ARRAY(&value) = SafeArrayCreateVector(VT_I4, 0, 1);
    EXPECT_EQ(variantToText(value), "");
    VariantClear(&value);
}

}  // namespace
