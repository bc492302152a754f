// The control given a folder: its videos in Explorer's name order, a broken one and a text
// file passed over, the round starting over, and the last picture of one video held until
// the next one's first. The control is loaded from a copy of APlayer.dll in a program folder
// of the test's own, beside a kv.ini that sets 换片间隔 to 0 (each video once).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/component/hosted_control.h"
#include "tests/driver/gtest_helpers.h"
#include "tests/driver/kv_driver.h"

namespace {

constexpr int32_t loopItem = 8;

class FolderPlayback : public kvtest::OleTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OleTest::SetUp());
        ASSERT_TRUE(program.copyIn(kvtest::binDirectory() + "\\component\\APlayer.dll", "APlayer.dll"));
        // As kv writes it: ANSI text, the names in the program's code page.
        ASSERT_TRUE(WritePrivateProfileStringA("播放", "换片间隔", "0", program.pathOf("kv.ini").c_str()));
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        const std::string in = folder + "\\";
        ASSERT_TRUE(CopyFileA(clipPath("red_160x120_1s.mp4").c_str(), (in + "2 红.mp4").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(clipPath("blue_160x120_1s.mp4").c_str(), (in + "10 蓝.MP4").c_str(), FALSE));
        ASSERT_TRUE(program.writeFile("视频\\5 坏.mp4", std::string(4096, '\x5a')));
        ASSERT_TRUE(program.writeFile("视频\\说明.txt", "red, blue\r\n"));
        library.emplace(program.pathOf("APlayer.dll"));
        ASSERT_TRUE(library->loaded());
    }
    void TearDown() override
    {
        library.reset();  // before the program folder goes
        OleTest::TearDown();
    }

    kvtest::ProgramDirectory program;
    const std::string folder = program.pathOf("视频");
    std::optional<ComponentLibrary> library;
};

char colourName(COLORREF colour)
{
    if (kvtest::colourNear(colour, 255, 0, 0, 40))
        return 'r';
    if (kvtest::colourNear(colour, 0, 0, 255, 40))
        return 'b';
    return kvtest::colourNear(colour, 0, 0, 0, 24) ? 'd' : '?';
}

TEST_F(FolderPlayback, VideosPlayInNameOrderAndStartOverWithNoDarkPictureBetween)
{
    HostedControl host(*library, 160, 120);
    ASSERT_TRUE(host.ready());
    setConfig(host.player(), loopItem, 1);
    std::string path = folder;
    EXPECT_EQ(static_cast<int64_t>(host.player().invokeNumber("Open", {path})), 0);
    number(host.player(), "Play");
    // Every change of colour seen while it plays, from its first picture on.
    std::string shown;
    kvtest::waitUntil(
        [&] {
            const char now = colourName(host.pixel(80, 60));
            if (!(shown.empty() && now == 'd') && (shown.empty() || shown.back() != now))
                shown += now;
            return shown.size() >= 3;
        },
        15000);
    EXPECT_EQ(shown, "rbr");
    EXPECT_EQ(number(host.player(), "GetState"), statePlaying);
    EXPECT_EQ(number(host.player(), "GetDuration"), 1000);
}

}  // namespace
