#include "cli/CommandOutcome.h"
#include "files/AppPaths.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

TEST(CommandLine, HelpVersionAndUnknownCommands) {
    auto help = runCommandLine({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, usageText());
    EXPECT_EQ(help.err, "");

    auto version = runCommandLine({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "corvane " + programVersion() + "\n");

    auto unknown = runCommandLine({"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "corvane: unknown command 'frobnicate'\n"
                           "Run 'corvane --help' for the list of commands.\n");

    auto none = runCommandLine({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, usageText());
}

} // namespace
} // namespace corvane::cli
