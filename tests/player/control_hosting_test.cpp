// The shared control base as AtlAxWin hosts it: the control's window fills the host, follows
// it when the host is resized, and goes, with a Close, when the host goes.
#include <string>
#include <vector>

#include "tests/player/player_fixture.h"

namespace {

HWND controlWindowIn(HWND host) { return FindWindowExA(host, nullptr, "KvOleControl", nullptr); }

}  // namespace

TEST_F(PlayerFixture, ControlWindowFillsTheHostAndFollowsItsSize)
{
    ASSERT_TRUE(create(640, 360));
    HWND host = control.hostWindowHandle();
    HWND window = controlWindowIn(host);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(clientSize(window).cx, 640);
    EXPECT_EQ(clientSize(window).cy, 360);
    MoveWindow(host, 0, 0, 320, 200, TRUE);
    EXPECT_EQ(clientSize(window).cx, 320);
    EXPECT_EQ(clientSize(window).cy, 200);
}

TEST_F(PlayerFixture, ControlWindowGoesWithTheHost)
{
    ASSERT_TRUE(create(640, 360));
    HWND host = control.hostWindowHandle();
    HWND window = controlWindowIn(host);
    ASSERT_NE(window, nullptr);

    DestroyWindow(host);

    EXPECT_FALSE(IsWindow(window));
    const std::vector<std::string> calls = recording_folder::calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "Deactivated()");
}
