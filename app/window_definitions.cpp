#include "app/window_definitions.h"

#include "platform/window_ids.h"
#include "platform/window_layer.h"

bool registerWindowDefinitions()
{
    // Every entry's stored name is empty in this program.
    const bool settings = registerWindowDefinition({layout::settingsWindow,
                                                    {{layout::settingsWindowEntry, ""},
                                                     {layout::applyButton, ""},
                                                     {layout::fileNameEdit, ""},
                                                     {layout::browseButton, ""},
                                                     {layout::openFileDialog, ""}}});
    const bool player = registerWindowDefinition({layout::playerWindow, {{layout::playerWindowEntry, ""}}});
    return settings && player;
}
