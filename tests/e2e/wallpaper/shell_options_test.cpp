// The simulated shell's command line picks its desktop layout.
#include "tests/fixtures/fake_shell/shell_options.h"

#include <gtest/gtest.h>

namespace {
struct OptionsCase {
    std::vector<std::string> arguments;
    bool noProgman, twoOwners, titledIconView, workerBeforeOwner, layout24H2;
    std::vector<std::string> unknown;
};

const OptionsCase optionsCases[] = {
    {{}, false, false, false, false, false, {}},
    {{"--no-progman"}, true, false, false, false, false, {}},
    {{"--two-owners"}, false, true, false, false, false, {}},
    {{"--titled-icon-view"}, false, false, true, false, false, {}},
    {{"--worker-before-owner"}, false, false, false, true, false, {}},
    {{"--layout-24h2"}, false, false, false, false, true, {}},
    {{"--two-owners", "--worker-before-owner"}, false, true, false, true, false, {}},
    {{"--layout-24H2", "-x"}, false, false, false, false, false, {"--layout-24H2", "-x"}},
};
}  // namespace

TEST(ShellOptions, EachOptionSetsItsLayoutAndUnknownOnesAreReported)
{
    for (const OptionsCase& c : optionsCases) {
        std::vector<std::string> unknown;
        const ShellOptions options = parseShellOptions(c.arguments, unknown);
        const std::string label = c.arguments.empty() ? "(none)" : c.arguments.front();
        EXPECT_EQ(options.noProgman, c.noProgman) << label;
        EXPECT_EQ(options.twoOwners, c.twoOwners) << label;
        EXPECT_EQ(options.titledIconView, c.titledIconView) << label;
        EXPECT_EQ(options.workerBeforeOwner, c.workerBeforeOwner) << label;
        EXPECT_EQ(options.layout24H2, c.layout24H2) << label;
        EXPECT_EQ(unknown, c.unknown) << label;
    }
}
