#include "player/player_globals.h"

PlayerControl* playerControl = nullptr;
PlayerEventSink* playerEventSink = nullptr;
PlayerConfig* playerConfig = nullptr;
PlayerConfigExt* playerConfigExt = nullptr;
AutomationObject* sharedPlayer = nullptr;
