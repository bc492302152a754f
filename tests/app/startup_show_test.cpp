#include "app/login_shortcut.h"
#include "app/startup_show.h"

#include <gtest/gtest.h>

namespace {
struct ShowCase {
    WORD command;
    bool minimised;
};

const ShowCase showCases[] = {
    {SW_HIDE, false},           {SW_SHOWNORMAL, false}, {SW_SHOWMINIMIZED, true}, {SW_SHOWMAXIMIZED, false},
    {SW_SHOWNOACTIVATE, false}, {SW_SHOW, false},       {SW_MINIMIZE, true},      {SW_SHOWMINNOACTIVE, true},
    {SW_SHOWNA, false},         {SW_RESTORE, false},    {SW_SHOWDEFAULT, false},  {SW_FORCEMINIMIZE, true},
};

class StartupShow : public testing::TestWithParam<ShowCase> {};

TEST_P(StartupShow, OnlyTheMinimisingCommandsStartTheWindowMinimised)
{
    EXPECT_EQ(isMinimisedShowCommand(GetParam().command), GetParam().minimised) << GetParam().command;
}

INSTANTIATE_TEST_SUITE_P(Commands, StartupShow, testing::ValuesIn(showCases));

struct PathCase {
    const wchar_t* first;
    const wchar_t* second;
    bool same;
};

const PathCase pathCases[] = {
    {L"C:\\kv\\kv.exe", L"C:\\kv\\kv.exe", true},
    {L"C:\\KV\\KV.EXE", L"c:\\kv\\kv.exe", true},
    {L"D:\\动态壁纸\\kv.exe", L"d:\\动态壁纸\\KV.exe", true},
    {L"C:\\kv\\kv.exe", L"C:\\other\\kv.exe", false},
    {L"C:\\kv\\kv.exe", L"C:\\kv\\kv.exe.lnk", false},
    {L"", L"C:\\kv\\kv.exe", false},
};

class LoginShortcutTarget : public testing::TestWithParam<PathCase> {};

TEST_P(LoginShortcutTarget, NamesThisProgramRegardlessOfCaseOnly)
{
    EXPECT_EQ(samePath(GetParam().first, GetParam().second), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(Paths, LoginShortcutTarget, testing::ValuesIn(pathCases));
}  // namespace
