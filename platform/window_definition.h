#pragma once
// The fixed layout data of a program window, as far as the window layer and the run-time
// error box need it: the window's identifier and its layout entries, and the list of those
// registered.
#include <cstdint>
#include <string>
#include <vector>

struct LayoutEntry {
    uint32_t id;
    std::string name;  // the text stored after the entry's geometry; empty in this program
};

struct WindowDefinition {
    uint32_t id;                       // a window identifier (kind 2)
    std::vector<LayoutEntry> entries;  // entries[0] is the window's own entry
};

// Adds a definition; false when it is malformed (not a window identifier, no entries) or
// its identifier is registered already.
bool registerWindowDefinition(WindowDefinition definition);

// The definition registered for that window identifier, or null.
const WindowDefinition* findWindowDefinition(uint32_t windowId);

// Forgets every registered definition (end of the run).
void clearWindowDefinitions();
