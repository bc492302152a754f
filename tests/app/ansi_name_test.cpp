#include "app/ansi_name.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {
struct Case {
    const wchar_t* name;
    const wchar_t* shortName;  // what the file system would give; empty: none
    std::optional<std::string> ansi;
};

const Case cases[] = {
    {L"C:\\videos\\sea", L"C:\\VIDEOS~9", "C:\\videos\\sea"},  // a writable name is kept, not shortened
    {L"C:\\\x89c6\x9891\\\x6d77", L"C:\\SHORT~1", "C:\\\xca\xd3\xc6\xb5\\\xba\xa3"},  // 视频\海
    {L"", L"", ""},
    {L"C:\\v\\\xac00", L"C:\\v\\AC00~1", "C:\\v\\AC00~1"},                    // 가: the short name
    {L"C:\\v\\\xac00", L"", std::nullopt},                                    // 가 with no short name
    {L"C:\\v\\\xd83d\xde00.mp4", L"C:\\v\\D83D~1.MP4", "C:\\v\\D83D~1.MP4"},  // an emoji
    {L"C:\\v\\\xd83d\xde00.mp4", L"", std::nullopt},
    {L"C:\\\xac00\\a.mp4", L"C:\\\xac00\\A~1.MP4", std::nullopt},            // the short name keeps 가
    {L"C:\\\x6cb3\\\xac00", L"C:\\\x6cb3\\AC00~1", "C:\\\xba\xd3\\AC00~1"},  // 河 stays in the short name
};

class AnsiName : public testing::TestWithParam<Case> {};

TEST_P(AnsiName, IsTheTextOrTheShortNameWhenEitherIsWritableInTheCodePage)
{
    const Case& c = GetParam();
    EXPECT_EQ(ansiName(c.name, [&](const std::wstring&) { return std::wstring(c.shortName); }), c.ansi);
}

INSTANTIATE_TEST_SUITE_P(Names, AnsiName, testing::ValuesIn(cases));

TEST(WideText, IsTheAnsiTextInWideCharactersEmbeddedZerosIncluded)
{
    EXPECT_EQ(wideText(std::string("\xca\xd3\xc6\xb5|*.MP4\0x", 12)), std::wstring(L"\x89c6\x9891|*.MP4\0x", 10));
    EXPECT_EQ(wideText(""), L"");
}
}  // namespace
