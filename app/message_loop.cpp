#include "app/message_loop.h"

#include "platform/process_state.h"
#include "platform/window_layer.h"

int runMessageLoop()
{
    processState.loopStarted = true;
    if (!anyProgramWindowOpen())
        return 0;
    MSG message{};
    // -1 (an error) counts as a message like any other; only WM_QUIT ends the loop.
    while (GetMessageA(&message, nullptr, 0, 0) != 0) {
        if (preTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
