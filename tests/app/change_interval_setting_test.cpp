#include "app/change_interval_setting.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {
struct Case {
    int minutes;
    const char* label;
    std::optional<std::string> stored;
};

const Case cases[] = {
    {0, "每段播完", "0"},          {1, "1 分钟", "1"},    {5, "5 分钟", "5"},
    {10, "10 分钟", std::nullopt}, {30, "30 分钟", "30"}, {60, "1 小时", "60"},
};

TEST(ChangeInterval, EachChoiceHasItsLabelAndStoredTextAndReadsBack)
{
    ASSERT_EQ(std::size(intervalChoices), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(intervalChoices[i].minutes, cases[i].minutes);
        EXPECT_STREQ(intervalChoices[i].label, cases[i].label);
        EXPECT_EQ(intervalText(cases[i].minutes), cases[i].stored);
        EXPECT_EQ(intervalMinutes(cases[i].stored.value_or("")), cases[i].minutes);
    }
}

TEST(ChangeInterval, AnUnknownStoredTextIsTheUsualTenMinutes)
{
    for (const char* stored : {"", "10", "2", "15", "05", "1 ", "-1", "abc", "600"})
        EXPECT_EQ(intervalMinutes(stored), 10) << stored;
}
}  // namespace
