#include "app/globals.h"

#include "player/automation_object.h"
#include "player/heap_object.h"
#include "player/player_config.h"
#include "player/player_control.h"
#include "player/player_event_sink.h"
#include "player/player_globals.h"

void createGlobals()
{
    playerControl = createInBlock<PlayerControl>();
    playerEventSink = createInBlock<PlayerEventSink>();
    playerConfig = createInBlock<PlayerConfig>();
    playerConfigExt = createInBlock<PlayerConfigExt>();
    sharedPlayer = createInBlock<AutomationObject>();
}

namespace {

template <class T>
void destroyAndFree(T*& object)
{
    object->destroy();
    freeInBlock(object);
    object = nullptr;
}

}  // namespace

void destroyGlobals()
{
    destroyAndFree(playerControl);
    destroyAndFree(playerEventSink);
    destroyAndFree(playerConfig);
    destroyAndFree(playerConfigExt);
    sharedPlayer->clear();
    freeInBlock(sharedPlayer);
    sharedPlayer = nullptr;
}
