#include "app/end_of_run.h"

#include "platform/external_calls.h"
#include "platform/process_state.h"
#include "platform/window_layer.h"
#include "wallpaper/desktop_embedder.h"

void setEndOfRunSteps()
{
    processState.destroyWindows = [] {
        destroyProgramWindows();
        giveDesktopBack();
    };
    processState.freeLibraries = releaseLibraries;
}
