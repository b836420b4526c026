// TreeFiles: what the tests take from the source tree (the bundled example projects, the
// program's data folder) and from the build tree (the program itself).
#pragma once

#include "testsupport/TextTools.h"

#include <filesystem>
#include <string>

namespace corvane::test {

// The source tree's example project folder examples/<name>.
std::filesystem::path exampleFolder(const std::string& name = "OrderEntry");
// Copies examples/<name> with everything in it to `target` (made when missing); the path of
// the copy's <name>.vbp.
std::filesystem::path copyExample(const std::filesystem::path& target, const std::string& name = "OrderEntry");
// Copies the program's data folder (templates, languages.txt, dictionaries) to `target`.
void copyDataFolder(const std::filesystem::path& target);
// The command-line program `corvane` of the build tree.
std::filesystem::path corvaneProgram();
// Runs `corvane` with `arguments` (a command line, split as runTool splits it) and waits for it.
ToolRun runCorvane(const std::string& arguments);

} // namespace corvane::test
