#pragma once
// The process-wide player objects: made by createGlobals, unmade by destroyGlobals, null
// outside that span. sharedPlayer is the reference the first create publishes and the
// configuration accessors fall back on.
class AutomationObject;
class PlayerConfig;
class PlayerConfigExt;
class PlayerControl;
class PlayerEventSink;

extern PlayerControl* playerControl;
extern PlayerEventSink* playerEventSink;
extern PlayerConfig* playerConfig;
extern PlayerConfigExt* playerConfigExt;
extern AutomationObject* sharedPlayer;
