// hhc.exe compiling filled HTML Help projects with the real chmcmd, reached as the compile run
// reaches it: through the registered association, with "%1" replaced by the quoted project.
#include "generate/CompilerRegistration.h"
#include "generate/PopupText.h"
#include "platform/AppFolders.h"

#include "files/FileReading.h"
#include "process/ProcessRunner.h"
#include "registry/RegistryAccess.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/Utilities.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::replaceEvery;
using test::runToolWithStatus;
using test::ToolRun;

const fs::path kHhc = CORVANE_HHC;

// Writes <folder>/<name>_Context.hhp from the shipped template, as the generator fills it.
fs::path writeProject(const fs::path& folder, const std::string& name, const std::string& lcid) {
    KeyedCollection<std::string> values;
    values.Add(name, "ProjectName");
    values.Add(name + "_ContextTopics.txt", "TextPopups");
    values.Add("", "Map");
    values.Add(lcid, "LCID");
    std::string templ = readFileBytes(std::string(CORVANE_SOURCE_DIR) + "/data/template.hhp");
    fs::path project = folder / (name + "_Context.hhp");
    test::writeFile(project, Utilities::FillTemplate(templ, values, '%') + "\r\n");
    return project;
}

// What the compiler lookup gives for HTML Help: the association in small letters, the
// workshop replaced by the compiler.
std::string lookUpCompiler(RegistryAccess& registry) {
    std::string command = foldCase(registry.GetValue(RegistryRoot::LocalMachine, HhpCommandKey, ""));
    return replaceEvery(command, "hhw.exe", "hhc.exe");
}

// Runs a compiler command template on a project, as the generator does.
ToolRun compile(const std::string& commandTemplate, const fs::path& project) {
    return runToolWithStatus(replaceEvery(commandTemplate, "%1", "\"" + project.string() + "\""));
}

std::string directHhc() { return "\"" + kHhc.string() + "\" %1"; }

// The bytes of one file stored in a .chm, read with chmls.
std::string extract(const fs::path& chm, const std::string& name, const fs::path& scratch) {
    fs::path out = scratch / "extracted.bin";
    fs::remove(out);
    runToolWithStatus("chmls extract \"" + chm.string() + "\" " + name + " \"" + out.string() + "\"");
    return test::readFile(out);
}

// The LCID stored in the .chm's #SYSTEM file (record 4), or 0.
uint32_t storedLcid(const std::string& system) {
    auto word = [&](size_t at) { return static_cast<uint32_t>(static_cast<unsigned char>(system[at]) |
                                                              static_cast<unsigned char>(system[at + 1]) << 8); };
    for (size_t at = 4; at + 4 <= system.size();) {
        uint32_t code = word(at), length = word(at + 2);
        if (code == 4 && length >= 4 && at + 8 <= system.size())
            return word(at + 4) | word(at + 6) << 16;
        at += 4 + length;
    }
    return 0;
}

class HelpCompiler : public ::testing::Test {
protected:
    void TearDown() override { platform::setEnvironmentVariable("CORVANE_CHMCMD", nullptr); }

    // A fake chmcmd: a shell script with the given body.
    fs::path fakeChmcmd(const std::string& body) {
        fs::path script = dir_ / "fake chmcmd" / "chmcmd";
        test::writeFile(script, "#!/bin/sh\n" + body + "\n");
        fs::permissions(script, fs::perms::owner_all);
        platform::setEnvironmentVariable("CORVANE_CHMCMD", script.string().c_str());
        return script;
    }

    test::TempDir dir_;
};

TEST_F(HelpCompiler, RegisteredFrontEndCompilesThePopupFileIntoTheChm) {
    // The program's folder and the project's folder hold blanks and shell syntax.
    fs::path folder = dir_ / "help compilers; $(touch pwned) `touch pwned2` &";
    fs::create_directories(folder);
    fs::copy_file(kHhc, folder / "hhc.exe");
    RegistryAccess registry(dir_ / "registry.reg");
    ASSERT_EQ(registerHtmlHelpCompiler(registry, folder), CompilerRegistrationResult::Registered);
    std::string commandTemplate = lookUpCompiler(registry);
    EXPECT_EQ(commandTemplate, "\"" + (folder / "hhc.exe").string() + "\" %1");

    fs::path language = dir_ / "My Project; $(touch pwned3)" / "Corvane" / "Russian";
    fs::path project = writeProject(language, "OrderEntry", "0x0419");
    PopupText popup(1251);
    popup.appendTopic(1, "Сохранить запись");
    popup.appendTopic(2, "Two lines\r\n< & \"quoted\"\t");
    popup.writeFile(language / "OrderEntry_ContextTopics.txt");

    ToolRun run = compile(commandTemplate, project);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("Error:"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Warning:"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Writing CHM OrderEntry_Context.chm"), std::string::npos) << run.output;
    fs::path chm = language / "OrderEntry_Context.chm";
    ASSERT_TRUE(fs::exists(chm));
    EXPECT_NE(replaceEvery(runToolWithStatus("chmls -n list \"" + chm.string() + "\"").output, "\r\n", "\n").find("\n/OrderEntry_ContextTopics.txt\n"),
              std::string::npos);
    EXPECT_EQ(extract(chm, "/OrderEntry_ContextTopics.txt", dir_.path()), popup.bytes());
    EXPECT_EQ(storedLcid(extract(chm, "/#SYSTEM", dir_.path())), 0x0419u);
    for (const char* name : {"pwned", "pwned2", "pwned3"}) {
        EXPECT_FALSE(fs::exists(dir_ / name));
        EXPECT_FALSE(fs::exists(language / name));
        EXPECT_FALSE(fs::exists(folder / name));
    }
}

TEST_F(HelpCompiler, FolderWithQuotesIsRegisteredWithoutQuotingAndStillRuns) {
    fs::path folder = dir_ / "a\"b;$(c)";
    fs::create_directories(folder);
    fs::copy_file(kHhc, folder / "hhc.exe");
    RegistryAccess registry(dir_ / "registry.reg");
    ASSERT_EQ(registerHtmlHelpCompiler(registry, folder), CompilerRegistrationResult::Registered);
    fs::path project = writeProject(dir_ / "p", "P", "0x0409");
    test::writeFile(dir_ / "p" / "P_ContextTopics.txt", ".topic 1\r\nx\r\n\r\n");
    ToolRun run = compile(lookUpCompiler(registry), project);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(extract(dir_ / "p" / "P_Context.chm", "/P_ContextTopics.txt", dir_.path()), ".topic 1\r\nx\r\n\r\n");
}

TEST_F(HelpCompiler, MissingPopupFileIsAnErrorAndLeavesNoChm) {
    fs::path project = writeProject(dir_ / "p q", "P", "0x0409");
    test::writeFile(dir_ / "p q" / "P_Context.chm", "old compiled file");
    ToolRun run = compile(directHhc(), project);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("Warning: File P_ContextTopics.txt does not exist"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\nError: chmcmd failed with exit status 217"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(dir_ / "p q" / "P_Context.chm"));
}

TEST_F(HelpCompiler, RunsThatMakeNothingOrCrashAreErrors) {
    fs::path project = writeProject(dir_ / "p", "P", "0x0409");
    fs::path chm = dir_ / "p" / "P_Context.chm";

    fakeChmcmd("exit 0"); // prints nothing, writes nothing: an old file must not pass for new
    test::writeFile(chm, "old compiled file");
    ToolRun silent = compile(directHhc(), project);
    EXPECT_EQ(silent.status, 1);
    EXPECT_EQ(silent.output, "Error: chmcmd did not write the compiled file \"" + chm.string() + "\".\n");

    fakeChmcmd("printf 'half' > P_Context.chm; kill -SEGV $$");
    ToolRun crashed = compile(directHhc(), project);
    EXPECT_EQ(crashed.status, 1);
    EXPECT_EQ(crashed.output, "Error: chmcmd failed with exit status 139; \"" + chm.string() + "\" was not made.\n");
    EXPECT_FALSE(fs::exists(chm));

    // Its own error lines pass through; a compiled file that appeared is no failure here.
    fakeChmcmd("echo \"Error: something in $1\"; printf 'chm' > P_Context.chm; pwd");
    ToolRun messages = compile(directHhc(), project);
    EXPECT_EQ(messages.status, 0);
    EXPECT_EQ(messages.output, "Error: something in P_Context.hhp\n" + (dir_ / "p").string() + "\nCreated \"" +
                                   chm.string() + "\", 3 bytes.\n");

    platform::setEnvironmentVariable("CORVANE_CHMCMD", (dir_ / "no such chmcmd").string().c_str());
    ToolRun missing = compile(directHhc(), project);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output.rfind("Error: the CHM compiler " + (dir_ / "no such chmcmd").string() +
                                       " could not be started: ", 0), 0u) << missing.output;
}

TEST_F(HelpCompiler, AwkwardProjectNamesReachChmcmdUnchanged) {
    fakeChmcmd("printf '[%s]\\n' \"$@\"; printf 'chm' > out.chm");
    // Each name with its form inside a quoted argument (a backslash is doubled only before a quote).
    for (auto [name, written] : {std::pair<std::string, std::string>{"q\"uote;$(x).hhp", "q\\\"uote;$(x).hhp"},
                                 {"-x.hhp", "-x.hhp"},
                                 {"back\\slash.hhp", "back\\slash.hhp"},
                                 {"slash\\\".hhp", "slash\\\\\\\".hhp"}}) {
        test::writeFile(dir_ / "p" / name, "[OPTIONS]\r\nCompiled file=out.chm\r\n");
        std::string quoted = (dir_ / "p").string() + "/" + written;
        ToolRun run = runToolWithStatus("\"" + kHhc.string() + "\" \"" + quoted + "\"");
        std::string expected = name.starts_with('-') ? "./" + name : name;
        EXPECT_EQ(run.output.substr(0, run.output.find('\n') + 1), "[" + expected + "]\n") << name;
        EXPECT_EQ(run.status, 0) << run.output;
    }
}

TEST_F(HelpCompiler, BadCallsAreErrors) {
    ToolRun none = runToolWithStatus("\"" + kHhc.string() + "\"");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.output, "Error: hhc.exe expects one argument, the HTML Help project file (it received 0).\n");
    ToolRun missing = compile(directHhc(), dir_ / "none.hhp");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output, "Error: the HTML Help project \"" + (dir_ / "none.hhp").string() + "\" does not exist.\n");
}

} // namespace
} // namespace corvane
