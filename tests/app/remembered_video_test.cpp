#include "app/remembered_video.h"

#include <gtest/gtest.h>

namespace {
struct Case {
    const char* stored;
    bool played;
};

const Case cases[] = {
    {"C:\\videos\\a.mp4", true},
    {".mp4", true},
    {"C:\\videos\\a.MP4", true},
    {"C:\\videos\\a.Mp4", true},
    {".MP4", true},
    {"C:\\videos\\a.MP3", false},
    {"C:\\videos\\a.mp4x", false},
    {"C:\\videos\\a\xa3\xae\xa3\xcd\xa3\xd0\xa3\xb4", false},  // full-width "．ＭＰ４" is not folded
    {"C:\\videos\\a,mp4", false},
    {"mp4", false},
    {"", false},
    {"C:\\videos\\a.mp4 ", false},
    {"C:\\videos\\a.avi", false},
    {"a.mp4.txt", false},
};

class RememberedVideo : public testing::TestWithParam<Case> {};

TEST_P(RememberedVideo, OnlyANameEndingInMp4InAnyAsciiCaseIsPlayed)
{
    EXPECT_EQ(isRememberedVideo(GetParam().stored), GetParam().played) << GetParam().stored;
}

INSTANTIATE_TEST_SUITE_P(Names, RememberedVideo, testing::ValuesIn(cases));
}  // namespace

namespace {
struct StartCase {
    const char* stored;
    bool storedIsFolder;
    bool played;
};

const StartCase startCases[] = {
    {"C:\\videos\\a.mp4", false, true},            // a file: the ".mp4" rule alone
    {"C:\\videos\\a.MP4", false, true},            // even when the file has gone: the component tells
    {"C:\\videos", true, true},                    // a folder that exists
    {"C:\\videos\\\xba\xd3\xc1\xf7", true, true},  // 河流
    {"C:\\videos", false, false},                  // a folder that does not exist (or a file without .mp4)
    {"C:\\videos\\a.avi", false, false},
    {"C:\\videos\\clips.mp4", true, true},  // a folder named like a video
    {"", false, false},
    {"", true, false},
};

class PlayedAtStart : public testing::TestWithParam<StartCase> {};

TEST_P(PlayedAtStart, IsARememberedVideoOrAnExistingFolder)
{
    EXPECT_EQ(isPlayedAtStart(GetParam().stored, GetParam().storedIsFolder), GetParam().played)
        << GetParam().stored << " folder " << GetParam().storedIsFolder;
}

INSTANTIATE_TEST_SUITE_P(Names, PlayedAtStart, testing::ValuesIn(startCases));
}  // namespace
