// Configuration items through the accessors, on the shared player or an attached one.
#include <string>
#include <vector>

#include "player/heap_object.h"
#include "player/player_config.h"
#include "tests/player/player_fixture.h"

using Calls = std::vector<std::string>;

class PlayerConfigTest : public PlayerFixture {
protected:
    void TearDown() override
    {
        config.destroy();
        extended.destroy();
        PlayerFixture::TearDown();
    }

    PlayerConfig config;
    PlayerConfigExt extended;
};

TEST_F(PlayerConfigTest, ItemsSendTheirNumbersInOrderAndBoolItemsOneOrZero)
{
    ASSERT_TRUE(create());
    recording_folder::reset();
    recording_folder::setReplies("SetConfig=1\nGetConfig.5=12\nGetConfig.18=2\nGetConfig.16=2\n");

    EXPECT_EQ(config.item8(1), 1);
    EXPECT_EQ(extended.item119(1), 1);
    EXPECT_EQ(config.item5(), 12);
    EXPECT_EQ(config.item2(std::string("abc")), "1");
    config.item24("x");
    EXPECT_TRUE(config.item16(true));
    EXPECT_FALSE(config.item16());
    EXPECT_TRUE(config.item18());
    EXPECT_EQ(config.item19(false), 1);
    EXPECT_EQ(recording_folder::calls(),
              (Calls{"SetConfig(8,1)", "SetConfig(119,1)", "GetConfig(5)", "SetConfig(2,\"abc\")",
                     "SetConfig(24,\"x\")", "SetConfig(16,1)", "GetConfig(16)", "GetConfig(18)", "SetConfig(19,0)"}));
}

TEST_F(PlayerConfigTest, AnAccessorUsedBeforeThePlayerExistsPicksItUpLater)
{
    EXPECT_EQ(config.item8(1), 0);
    EXPECT_TRUE(config.player.isEmpty());

    ASSERT_TRUE(create());
    recording_folder::reset();
    config.item8(1);

    EXPECT_EQ(config.player.rawPointer(), sharedPlayer->rawPointer());
    EXPECT_EQ(recording_folder::calls(), (Calls{"SetConfig(8,1)"}));
}

TEST_F(PlayerConfigTest, AttachTakesTheControlsPlayerOnce)
{
    ASSERT_TRUE(create(640, 360, true));
    AutomationObject attached = config.attach(control);
    EXPECT_EQ(attached.rawPointer(), control.player.rawPointer());
    EXPECT_EQ(config.player.rawPointer(), control.player.rawPointer());

    PlayerControl other;
    ASSERT_TRUE(other.create(parent, sink, 0, 0, 10, 10, true));
    EXPECT_TRUE(config.attach(other).isEmpty());
    EXPECT_EQ(config.player.rawPointer(), control.player.rawPointer());
    other.destroy();
}

TEST_F(PlayerConfigTest, CopyOfExtRefersToTheSameObjects)
{
    ASSERT_TRUE(create());
    extended.item101();
    PlayerConfigExt* duplicate = extended.copy();
    EXPECT_EQ(duplicate->player.rawPointer(), extended.player.rawPointer());
    EXPECT_TRUE(duplicate->extraObject.isEmpty());
    duplicate->destroy();
    EXPECT_TRUE(duplicate->player.isEmpty());
    freeInBlock(duplicate);
}
