#include "cli/CommandLine.h"
#include "support/AppPaths.h"

#include <gtest/gtest.h>
#include <sstream>

namespace corvane::cli {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runCommand(std::vector<std::string> arguments) {
    std::ostringstream out, err;
    int status = run(arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(CommandLine, HelpVersionAndUnknownCommands) {
    auto help = runCommand({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, usageText());
    EXPECT_EQ(help.err, "");

    auto version = runCommand({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "corvane " + programVersion() + "\n");

    auto unknown = runCommand({"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "corvane: unknown command 'frobnicate'\n"
                           "Run 'corvane --help' for the list of commands.\n");

    auto none = runCommand({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, usageText());
}

} // namespace
} // namespace corvane::cli
