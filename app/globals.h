#pragma once
// The process-wide player objects (player/player_globals.h) live from createGlobals to
// destroyGlobals, the program's exit routine.

// Makes playerControl, playerEventSink, playerConfig, playerConfigExt and an empty
// sharedPlayer on the program heap.
void createGlobals();

// Each object's destroy, then its storage freed, in the order they were made; releases
// every component reference the program holds.
void destroyGlobals();
