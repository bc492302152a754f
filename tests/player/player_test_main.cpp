// The player tests run in one program directory for the whole process, as the product
// does: the function table binds atl.dll from there on first use.
#include <gtest/gtest.h>
#include <ole2.h>

#include "platform/external_calls.h"
#include "platform/process_state.h"
#include "tests/player/recording_folder.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    OleInitialize(nullptr);
    if (!recording_folder::prepare()) {
        fprintf(stderr, "cannot prepare %s\n", recording_folder::path().c_str());
        return 1;
    }
    processState.programDirectory = recording_folder::path();
    ext::atlAxWinInit(site::startup);
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
