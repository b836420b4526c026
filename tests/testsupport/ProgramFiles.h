// ProgramFiles: the files the program keeps outside a project, moved into a test's folder
// through their environment variables for the test's lifetime, then restored.
#pragma once

#include "testsupport/ScopedEnvironment.h"

#include <filesystem>
#include <optional>

namespace corvane::test {

class ProgramFiles {
public:
    // The registry file ("registry.reg") and the error log ("errors.log") go into `folder`;
    // `dataFolder`, when given, is the program's data folder; error reports get no scripted
    // answer (CORVANE_ERROR_ACTION unset).
    explicit ProgramFiles(const std::filesystem::path& folder,
                          const std::optional<std::filesystem::path>& dataFolder = std::nullopt)
        : registryFile_("CORVANE_REGISTRY", (folder / "registry.reg").string()),
          errorLog_("CORVANE_ERROR_LOG", (folder / "errors.log").string()),
          errorAction_("CORVANE_ERROR_ACTION", std::nullopt) {
        if (dataFolder)
            dataFolder_.emplace("CORVANE_DATA_DIR", dataFolder->string());
    }

private:
    ScopedEnvironment registryFile_;
    ScopedEnvironment errorLog_;
    ScopedEnvironment errorAction_;
    std::optional<ScopedEnvironment> dataFolder_;
};

} // namespace corvane::test
