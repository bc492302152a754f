#include "app/program_path.h"

#include <gtest/gtest.h>

namespace {
struct Case {
    const char* path;
    const char* directory;
    const char* fileName;
};

// "誠" is D5 5C in code page 936: its trail byte is a backslash.
static_assert(sizeof("誠") == 3 && "誠"[0] == '\xD5' && "誠"[1] == '\x5C');
const Case cases[] = {
    {"C:\\kv\\kv.exe", "C:\\kv", "kv.exe"},
    {"C:\\a\\b\\kv.exe", "C:\\a\\b", "kv.exe"},
    {"kv.exe", "", "kv.exe"},
    {"\\kv.exe", "", "kv.exe"},
    {"C:\\kv\\", "C:\\kv", ""},
    {"", "", ""},
    {"C:\\誠\\kv.exe", "C:\\誠", "kv.exe"},
    {"C:\\誠kv.exe", "C:", "誠kv.exe"},
    {"C:\\dir\\a誠", "C:\\dir", "a誠"},
    {"誠", "", "誠"},
};

class ProgramPathSplit : public testing::TestWithParam<Case> {};

TEST_P(ProgramPathSplit, DirectoryAndFileName)
{
    const ProgramPath split = splitProgramPath(GetParam().path);
    EXPECT_EQ(split.directory, GetParam().directory);
    EXPECT_EQ(split.fileName, GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(Paths, ProgramPathSplit, testing::ValuesIn(cases));
}  // namespace
