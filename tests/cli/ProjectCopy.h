// ProjectCopy: a copy of the example project for the command tests of odd and hostile input,
// three folders deep in a test's folder (so that "../../../" from it stays inside the test's
// folder), with its own registry, error log and data folder, and the build's help compilers.
#pragma once

#include "platform/SystemFiles.h"
#include "testsupport/ProgramFiles.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace corvane::cli {

class ProjectCopy : public ::testing::Test {
protected:
    ProjectCopy() {
        test::copyDataFolder(dir_ / "data");
        test::copyExample(folder());
    }

    std::filesystem::path folder() const { return dir_ / "a" / "b" / "c" / "OrderEntry"; }
    std::string project() const { return (folder() / "OrderEntry.vbp").string(); }
    std::filesystem::path dataFile() const { return folder() / "ContextHelp.txt"; }
    std::filesystem::path compilers() const {
        return std::filesystem::path(CORVANE_BINARY_DIR) / "bin" / "helpcompilers";
    }

    // Replaces the one occurrence of `what` in a file of the project with `with`.
    void edit(const std::string& file, const std::string& what, const std::string& with) {
        std::string text = test::readFile(folder() / file);
        size_t at = text.find(what);
        ASSERT_NE(at, std::string::npos) << what;
        text.replace(at, what.size(), with);
        test::writeFile(folder() / file, text);
    }

    // Every file and folder below `root` with its bytes, mode and modification time, leaving
    // out `skipped` and what is in it.
    static std::map<std::string, std::string> snapshot(const std::filesystem::path& root,
                                                       const std::filesystem::path& skipped = {}) {
        std::map<std::string, std::string> entries;
        for (auto it = std::filesystem::recursive_directory_iterator(root);
             it != std::filesystem::recursive_directory_iterator(); ++it) {
            if (it->path() == skipped) {
                it.disable_recursion_pending();
                continue;
            }
            platform::FileStatus info;
            platform::statusAt(it->path(), info, false);
            const bool regular = info.kind == platform::FileKind::Regular;
            entries[it->path().string()] = std::to_string(static_cast<int>(info.kind)) + " " +
                                           std::to_string(info.permissions) + " " + std::to_string(info.modifiedNs) +
                                           " " + (regular ? test::readFile(it->path()) : "");
        }
        return entries;
    }

    // The entries that differ between two snapshots (added, removed or changed), for a short
    // failure message.
    static std::vector<std::string> changedEntries(const std::map<std::string, std::string>& before,
                                                   const std::map<std::string, std::string>& after) {
        std::vector<std::string> changed;
        for (const auto& [path, state] : after)
            if (auto was = before.find(path); was == before.end() || was->second != state)
                changed.push_back(path);
        for (const auto& [path, state] : before)
            if (!after.contains(path))
                changed.push_back(path + " (removed)");
        return changed;
    }

    test::TempDir dir_;
    test::ProgramFiles programFiles_{dir_.path(), dir_ / "data"};
    test::ScopedEnvironment helpCompilers_{"CORVANE_HELP_COMPILERS", compilers().string()};
};

} // namespace corvane::cli
