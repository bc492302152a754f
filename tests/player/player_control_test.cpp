// Loading the component from the program directory and hosting it in "AtlAxWin".
#include <string>
#include <vector>

#include "player/heap_object.h"
#include "tests/player/player_fixture.h"

using Calls = std::vector<std::string>;

namespace {

// What the recording control logs when the host activates it in `host` at (0, 0).
std::string activation(HWND host, int width, int height)
{
    return "Activated(" + std::to_string(reinterpret_cast<UINT_PTR>(host)) + ",0,0," + std::to_string(width) + "," +
           std::to_string(height) + ")";
}

}  // namespace

TEST_F(PlayerFixture, CreateHostsTheComponentInAnAtlAxWinChild)
{
    ASSERT_TRUE(create(640, 360));

    HWND host = control.hostWindowHandle();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(className(host), "AtlAxWin");
    EXPECT_EQ(GetDlgCtrlID(host), 501);
    EXPECT_EQ(GetParent(host), parent);
    EXPECT_EQ(GetWindowLongA(host, GWL_STYLE) & 0x56000000, 0x56000000);
    EXPECT_EQ(GetWindowLongA(host, GWL_EXSTYLE) & 0x00010080, 0x00010080);
    EXPECT_EQ(clientSize(host).cx, 640);
    EXPECT_EQ(clientSize(host).cy, 360);
    EXPECT_EQ(recording_folder::calls(), (Calls{activation(host, 640, 360)}));
    EXPECT_FALSE(control.player.isEmpty());
    EXPECT_EQ(sharedPlayer->rawPointer(), control.player.rawPointer());
    EXPECT_NE(control.componentModule, nullptr);
}

TEST_F(PlayerFixture, SecondCreateDoesNothingAndReturnsTrue)
{
    ASSERT_TRUE(create(640, 360));
    HWND firstHost = control.hostWindowHandle();
    IUnknown* firstPlayer = control.player.rawPointer();

    EXPECT_TRUE(control.create(parent, sink, 10, 10, 100, 100));

    EXPECT_EQ(control.hostWindowHandle(), firstHost);
    EXPECT_EQ(control.player.rawPointer(), firstPlayer);
    EXPECT_EQ(control.lastHostId, 501);
    EXPECT_EQ(recording_folder::calls().size(), 1u);
}

TEST_F(PlayerFixture, ZeroSizeGivesSixHundredByThreeHundred)
{
    ASSERT_TRUE(create(0, 0));
    EXPECT_EQ(clientSize(control.hostWindowHandle()).cx, 600);
    EXPECT_EQ(clientSize(control.hostWindowHandle()).cy, 300);
}

TEST_F(PlayerFixture, HostIdentifiersCountUpFrom501)
{
    ASSERT_TRUE(create());
    HWND second = control.createHost(sink, parent, 0, 0, 10, 10);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetDlgCtrlID(second), 502);
    EXPECT_EQ(control.hostWindowHandle(), second);
}

TEST_F(PlayerFixture, KeepPrivateNeverFillsTheSharedPlayer)
{
    ASSERT_TRUE(create(640, 360, true));
    EXPECT_FALSE(control.player.isEmpty());
    EXPECT_TRUE(sharedPlayer->isEmpty());
}

TEST_F(PlayerFixture, AnAlreadySharedPlayerStaysUnchanged)
{
    PlayerControl first;
    ASSERT_TRUE(first.create(parent, sink, 0, 0, 10, 10));
    IUnknown* published = sharedPlayer->rawPointer();

    ASSERT_TRUE(create());

    EXPECT_EQ(sharedPlayer->rawPointer(), published);
    EXPECT_NE(control.player.rawPointer(), published);
    first.destroy();
}

TEST_F(PlayerFixture, MissingComponentLeavesNoPlayerAndTriesAgainLater)
{
    processState.programDirectory = recording_folder::emptyPath();
    EXPECT_FALSE(create());
    EXPECT_EQ(control.componentModule, nullptr);
    EXPECT_TRUE(control.player.isEmpty());
    EXPECT_TRUE(sharedPlayer->isEmpty());
    EXPECT_EQ(control.hostWindowHandle(), nullptr);

    processState.programDirectory = recording_folder::path();
    EXPECT_TRUE(create());
    EXPECT_NE(control.hostWindowHandle(), nullptr);
}

TEST_F(PlayerFixture, FailingInstanceGivesTrueWithoutHost)
{
    recording_folder::setMode("instance-fails");
    EXPECT_TRUE(create());
    EXPECT_NE(control.componentModule, nullptr);
    EXPECT_TRUE(control.player.isEmpty());
    EXPECT_EQ(control.hostWindowHandle(), nullptr);
    EXPECT_EQ(control.lastHostId, 0);

    recording_folder::reset();
    EXPECT_TRUE(create());
    EXPECT_TRUE(control.player.isEmpty());
}

TEST_F(PlayerFixture, DestroyReleasesThePlayerOnly)
{
    ASSERT_TRUE(create());
    HWND host = control.hostWindowHandle();
    control.destroy();
    EXPECT_TRUE(control.player.isEmpty());
    EXPECT_EQ(control.hostWindowHandle(), host);
    EXPECT_TRUE(IsWindow(host));
    EXPECT_NE(control.componentModule, nullptr);
}

TEST_F(PlayerFixture, CopyRefersToTheSameComponent)
{
    ASSERT_TRUE(create());
    PlayerControl* duplicate = control.copy();
    EXPECT_EQ(duplicate->player.rawPointer(), control.player.rawPointer());
    EXPECT_EQ(duplicate->hostWindow, control.hostWindow);
    EXPECT_EQ(duplicate->lastHostId, 501);
    duplicate->destroy();
    freeInBlock(duplicate);
}
