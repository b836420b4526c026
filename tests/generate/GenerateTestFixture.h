// GenerateTest: the add-in at work on a copy of the example project, with everything it
// touches in one temporary folder (registry file, projects, compiler folders), for the tests
// of the help file creation run and the compiler lookup.
#pragma once

#include "connect/Addin.h"
#include "controls/HeadlessBusyWindow.h"
#include "controls/HeadlessWindowSystem.h"
#include "editor/FrmWizard.h"
#include "registry/RegistryAccess.h"
#include "settings/FrmCompileLog.h"
#include "settings/ModMain.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/TreeFiles.h"
#include "testsupport/addin/ErrorReportTestComponent.h"
#include "vbide/CommandBars.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace corvane::test {

namespace fs = std::filesystem;

// A folder name with blanks, quotes and shell syntax: nothing in it may ever be executed.
// Windows allows no '"' in a name: there the quotes are single ones.
inline const std::string NastyFolder = std::filesystem::path::preferred_separator == '/'
                                           ? "Order \"Entry\"; $(touch pwned) `touch pwned2` & x"
                                           : "Order 'Entry'; $(touch pwned) `touch pwned2` & x";

// The file's bytes with the project's folder written as "<dir>/" (the WinHelp project names
// its help file by full path), for comparing with golden files.
inline std::string portable(const std::string& bytes, const std::string& projectDir) {
    std::string text = bytes;
    for (size_t at = text.find(projectDir); at != std::string::npos; at = text.find(projectDir, at))
        text.replace(at, projectDir.size(), "<dir>/");
    return text;
}

// True when every line break of the text is CR LF.
inline bool hasOnlyCrLf(const std::string& text) {
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n' && (at == 0 || text[at - 1] != '\r'))
            return false;
        if (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'))
            return false;
    }
    return true;
}

class GenerateTest : public ::testing::Test {
protected:
    GenerateTest()
        : registry_("CORVANE_REGISTRY", (dir_ / "registry.reg").string()),
          compilers_("CORVANE_HELP_COMPILERS", fs::path(CORVANE_HHC).parent_path().string()),
          failWinHelp_("CORVANE_FAKE_HCRTF_FAIL", std::nullopt) {
        windows_.useDefaultAnswers(false);
        windows_.onModal("frmCompileLog", [this](controls::Form& form) {
            logs_.push_back(static_cast<FrmCompileLog&>(form).txtLogText().Text());
            form.userClose();
        });
    }

    // Copies the example project into `folder` below the temporary folder; its .vbp path.
    fs::path copyExample(const std::string& folder = NastyFolder) {
        return test::copyExample(dir_ / folder);
    }

    // Opens the project and clicks the add-in's menu entry: the editor scans the project.
    FrmWizard& openEditor(const fs::path& vbp) {
        ide_ = std::make_shared<vbide::VBE>();
        project_ = ide_->openProject(vbp);
        addin_ = std::make_unique<Addin>();
        addin_->load();
        addin_->connect(ide_);
        addin_->wizard()->menuEntry()->click();
        if (!addin_->editor())
            throw std::runtime_error("the editor did not open");
        return *addin_->editor();
    }

    FrmWizard& editor() { return *addin_->editor(); }
    ModMain& settings() { return addin_->modMain(); }
    // The editor's record of a control.
    HelpItem& record(const std::string& module, const std::string& key) {
        return *editor().formsData()->Item(module)->Item(key);
    }
    controls::HeadlessBusyWindow& busy() { return static_cast<controls::HeadlessBusyWindow&>(*settings().Busy); }

    // Switches compiling on or off for both kinds (generation stays as the project has it).
    void compile(bool html, bool winHelp) {
        settings().mCompileHTML = html;
        settings().mCompileWinHelp = winHelp;
    }

    // Makes the WinHelp association name a workshop beside a copy of the stand-in compiler.
    fs::path installFakeWinHelpCompiler() {
        fs::path folder = dir_ / "Help Workshop; $(touch pwned3)";
        fs::create_directories(folder);
        fs::copy_file(CORVANE_FAKE_HCRTF, folder / "hcrtf.exe", fs::copy_options::overwrite_existing);
        registry().SetValue(RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\hpjfiletype\\shell\\open\\command", "",
                            "\"" + (folder / "hcw.exe").string() + "\" %1");
        return folder / "hcrtf.exe";
    }

    // The texts of the message boxes shown so far.
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : windows_.messages())
            texts.push_back(message.prompt);
        return texts;
    }

    // The project's folder, ending in "/".
    std::string projectDir() const { return project_->FileName().substr(0, project_->FileName().rfind('/') + 1); }
    // A generated file of a language.
    fs::path generated(const std::string& language, const std::string& name) const {
        return fs::path(projectDir()) / "Corvane" / language / name;
    }

    // True when a file named like the shell commands in NastyFolder appeared anywhere.
    bool somethingWasExecuted() const {
        for (const auto& entry : fs::recursive_directory_iterator(dir_.path()))
            if (entry.path().filename().string().starts_with("pwned"))
                return true;
        return false;
    }

    TempDir dir_;
    ScopedEnvironment registry_;
    ScopedEnvironment compilers_;
    ScopedEnvironment failWinHelp_;
    controls::HeadlessWindowSystem windows_;
    controls::WindowSystemScope windowScope_{windows_};
    ScriptedReports reports_;
    std::vector<std::string> logs_;
    std::shared_ptr<vbide::VBE> ide_;
    std::shared_ptr<vbide::VBProject> project_;
    std::unique_ptr<Addin> addin_;
};

} // namespace corvane::test
