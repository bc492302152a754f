#include "app/file_dialog_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using namespace std::string_literals;

struct Case {
    std::string barSeparated;
    std::string filter;
};

const Case cases[] = {
    {"视频文件(*.MP4)|*.MP4|", "视频文件(*.MP4)\0*.MP4\0\0"s},
    {"A|*.a|B|*.b|", "A\0*.a\0B\0*.b\0\0"s},
    {"A|*.a", "A\0*.a\0\0"s},
    {"", "\0"s},
    // 0xB1 0x7C is one double-byte character whose trail byte is a bar.
    {"\xB1\x7C|*.x|", "\xB1\x7C\0*.x\0\0"s},
};

class FileDialogFilter : public testing::TestWithParam<Case> {};

TEST_P(FileDialogFilter, BarsBecomeZeroBytesAndTheListEndsWithTwo)
{
    EXPECT_EQ(fileDialogFilter(GetParam().barSeparated), GetParam().filter);
}

INSTANTIATE_TEST_SUITE_P(Filters, FileDialogFilter, testing::ValuesIn(cases));
}  // namespace
