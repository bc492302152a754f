#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "component/folder_playlist.h"

TEST(FolderPlaylist, NamesFollowExplorersOrderNumbersByValueLetterCaseAside)
{
    struct Case {
        const wchar_t *a, *b;
        bool aFirst;
    } cases[] = {
        {L"2.mp4", L"10.mp4", true},         {L"10.mp4", L"2.mp4", false},       {L"clip 9.mp4", L"clip 10.mp4", true},
        {L"Beach.mp4", L"apple.mp4", false}, {L"apple.mp4", L"BEACH.mp4", true}, {L"视频2.mp4", L"视频10.mp4", true},
        {L"海边.mp4", L"海边.mp4", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(comesBefore(c.a, c.b), c.aFirst) << c.a << " / " << c.b;
    }
}

TEST(FolderPlaylist, OnlyFilesWithAVideoExtensionInAnyCaseAreTried)
{
    struct Case {
        const wchar_t* name;
        DWORD attributes;
        bool tried;
    } cases[] = {
        {L"a.mp4", FILE_ATTRIBUTE_NORMAL, true},        {L"B.MP4", FILE_ATTRIBUTE_ARCHIVE, true},
        {L"c.Mkv", FILE_ATTRIBUTE_NORMAL, true},        {L"d.webm", FILE_ATTRIBUTE_READONLY, true},
        {L"e.m2ts", FILE_ATTRIBUTE_NORMAL, true},       {L"夏天.MoV", FILE_ATTRIBUTE_NORMAL, true},
        {L"f.3g2", FILE_ATTRIBUTE_NORMAL, true},        {L"g.mpeg", FILE_ATTRIBUTE_NORMAL, true},
        {L"notes.txt", FILE_ATTRIBUTE_NORMAL, false},   {L"README", FILE_ATTRIBUTE_NORMAL, false},
        {L"h.mp4.txt", FILE_ATTRIBUTE_NORMAL, false},   {L"i.mp", FILE_ATTRIBUTE_NORMAL, false},
        {L"trip.mp4", FILE_ATTRIBUTE_DIRECTORY, false}, {L"..", FILE_ATTRIBUTE_DIRECTORY, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isVideoEntry(c.name, c.attributes), c.tried) << c.name;
    }
}

TEST(FolderPlaylist, TheNextNameIsTheFirstAfterTheCurrentOneWrappingAtTheEnd)
{
    const std::vector<std::wstring> names = {L"2.mp4", L"10.mp4", L"b.mp4"};
    struct Case {
        std::vector<std::wstring> names;
        const wchar_t* current;
        std::optional<std::wstring> next;
    } cases[] = {
        {names, L"", L"2.mp4"},       {names, L"2.mp4", L"10.mp4"},
        {names, L"10.mp4", L"b.mp4"}, {names, L"b.mp4", L"2.mp4"},
        {names, L"5.mp4", L"10.mp4"},  // the current one was removed
        {names, L"z.mp4", L"2.mp4"},  {{L"only.mp4"}, L"only.mp4", L"only.mp4"},
        {{}, L"", std::nullopt},      {{}, L"a.mp4", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nameAfter(c.names, c.current), c.next) << c.names.size() << " names, after " << c.current;
    }
}
