// `corvane export`, `import` and `coverage` on a copy of the example project, run in-process
// on captured streams; the exported files are checked with gettext and translate-toolkit.
#include "cli/CommandOutcome.h"
#include "testsupport/ProgramFiles.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::ProgramFiles;
using test::readFile;
using test::runToolWithStatus;
using test::TempDir;
using test::ToolRun;
using test::writeFile;

// `text` with `from` replaced by `to`; the test fails when `from` does not occur once.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

class ExchangeCommandsTest : public ::testing::Test {
protected:
    ExchangeCommandsTest() {
        test::copyExample(dir_ / "OrderEntry");
        original_ = readFile(dataFile());
    }

    Outcome corvane(std::vector<std::string> arguments) {
        return runCommandLine(arguments);
    }

    // Exports a language to a file and returns the file's path.
    std::string exportTo(const std::string& language, const std::string& format,
                         const std::string& name) {
        std::string file = (dir_ / name).string();
        Outcome result =
            corvane({"export", project(), "--language", language, "--format", format, "-o", file});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return file;
    }

    Outcome import(const std::string& file, bool dryRun = false) {
        std::vector<std::string> arguments{"import", project(), file};
        if (dryRun)
            arguments.push_back("--dry-run");
        return corvane(arguments);
    }

    std::string project() const { return (dir_ / "OrderEntry" / "OrderEntry.vbp").string(); }
    fs::path dataFile() const { return dir_ / "OrderEntry" / "ContextHelp.txt"; }
    std::string notWritten() const {
        return "Nothing to change; " + dataFile().string() + " was not written.\n";
    }

    TempDir dir_;
    std::string original_;
    ProgramFiles programFiles_{dir_.path(), fs::path(CORVANE_SOURCE_DIR) / "data"};
};

const char* const ExampleCoverage =
    "English: 41 of 69 controls have help text (59.4%)\n"
    "  mdiMain: 5 of 5\n"
    "  frmMain: 4 of 6; missing: lblFilter, cmdDelete\n"
    "  frmOrder: 11 of 17; missing: fraCustomer, lblCustomer, fraPayment, lblTerms, "
    "lblTotalCaption, chkExpress\n"
    "  frmCustomer: 13 of 20; missing: lblCustomerNo, lblName, picContainer, fraDetails, "
    "fraContact, lblPhone, "
    "lblEmail\n"
    "  frmAbout: 1 of 6; missing: picIcon, lblTitle, lblVersion, lblDisclaimer, cmdOK\n"
    "  ctlAddress: 4 of 8; missing: fraAddress, lblStreet, lblTown, lblCountry\n"
    "  ppgAddress: 1 of 3; missing: lblCaption, txtCaption\n"
    "  docOrderStatus: 2 of 4; missing: lblOrderNo, lblStatus\n"
    "German: 36 of 69 controls have help text (52.1%)\n"
    "  mdiMain: 4 of 5; missing: cmdTodaysOrders\n"
    "  frmMain: 4 of 6; missing: lblFilter, cmdDelete\n"
    "  frmOrder: 10 of 17; missing: fraCustomer, lblCustomer, fraPayment, lblTerms, "
    "lblTotalCaption, cmdPrint, "
    "chkExpress\n"
    "  frmCustomer: 12 of 20; missing: lblCustomerNo, lblName, picContainer, fraDetails, "
    "fraContact, lblPhone, "
    "lblEmail, chkNewsletter\n"
    "  frmAbout: 0 of 6; missing: picIcon, lblTitle, lblVersion, lblDisclaimer, cmdOK, cmdSysInfo\n"
    "  ctlAddress: 4 of 8; missing: fraAddress, lblStreet, lblTown, lblCountry\n"
    "  ppgAddress: 0 of 3; missing: lblCaption, txtCaption, chkShowCountry\n"
    "  docOrderStatus: 2 of 4; missing: lblOrderNo, lblStatus\n";

TEST_F(ExchangeCommandsTest, CoverageCountsTheExampleAndItsStatusFollowsTheMinimum) {
    // The project's current controls count: chkExpress (no record yet) lacks text; the deleted
    // cmdCalculate and the vanished frmSplash do not count.
    Outcome all = corvane({"coverage", project()});
    EXPECT_EQ(all.err, "");
    EXPECT_EQ(all.out, ExampleCoverage);
    EXPECT_EQ(all.status, 0);

    Outcome met = corvane({"coverage", project(), "--min", "52.1"});
    EXPECT_EQ(met.out, ExampleCoverage);
    EXPECT_EQ(met.status, 0);
    Outcome below = corvane({"coverage", project(), "--min", "52.2"});
    EXPECT_EQ(below.out, std::string(ExampleCoverage) + "German is below the minimum of 52.2%\n");
    EXPECT_EQ(below.status, 1);
    Outcome both = corvane({"coverage", project(), "--min", "60"});
    EXPECT_EQ(both.out,
              std::string(ExampleCoverage) +
                  "English is below the minimum of 60%\nGerman is below the minimum of 60%\n");
    EXPECT_EQ(both.status, 1);

    Outcome json =
        corvane({"coverage", project(), "--language", "german", "--json", "--min", "50"});
    EXPECT_EQ(json.status, 0);
    EXPECT_TRUE(json.out.starts_with("{\"project\": \"OrderEntry.vbp\", \"languages\": "
                                     "[{\"language\": \"German\", \"controls\": 69, "
                                     "\"withText\": 36, \"belowMinimum\": false, \"modules\": "
                                     "[{\"module\": \"mdiMain\", \"controls\": 5, "
                                     "\"withText\": 4, \"missing\": [\"cmdTodaysOrders\"]}, "))
        << json.out;
    EXPECT_TRUE(
        json.out.ends_with("{\"module\": \"docOrderStatus\", \"controls\": 4, \"withText\": 2, "
                           "\"missing\": [\"lblOrderNo\", \"lblStatus\"]}]}]}\n"))
        << json.out;

    Outcome unknown = corvane({"coverage", project(), "--language", "French"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "corvane coverage: 'French' is not a language of OrderEntry.vbp; its "
                           "languages are English, German\n");
    Outcome badMinimum = corvane({"coverage", project(), "--min", "high"});
    EXPECT_EQ(badMinimum.status, 2);
    EXPECT_EQ(badMinimum.err,
              "corvane coverage: --min takes a percentage from 0 to 100, not 'high'\n");
    EXPECT_EQ(readFile(dataFile()), original_);
}

TEST_F(ExchangeCommandsTest, EveryLanguageAndFormatRoundTripsWithoutChangingAByte) {
    std::string form = readFile(dir_ / "OrderEntry" / "frmOrder.frm");
    for (const std::string language : {"English", "German"}) {
        for (const std::string format : {"xliff", "po"}) {
            SCOPED_TRACE(language + " " + format);
            std::string file =
                exportTo(language, format, language + (format == "po" ? ".po" : ".xlf"));
            // The translators' tools (gettext, Translate Toolkit) are Linux programs here: on
            // Windows only the round trip runs.
            const bool tools = std::filesystem::path::preferred_separator == '/';
            if (tools && format == "po") {
                ToolRun check = runToolWithStatus("msgfmt --check -o " +
                                                  (dir_ / "out.mo").string() + " " + file);
                EXPECT_EQ(check.status, 0) << check.output;
                EXPECT_EQ(check.output, "");
            } else if (tools) {
                ToolRun convert =
                    runToolWithStatus("xliff2po " + file + " " + (dir_ / "converted.po").string());
                EXPECT_EQ(convert.status, 0) << convert.output;
                EXPECT_NE(readFile(dir_ / "converted.po").find("#: frmMain/cboFilter\n"),
                          std::string::npos);
            }
            if (tools) {
                ToolRun count = runToolWithStatus("pocount --csv " + file);
                EXPECT_EQ(count.status, 0) << count.output;
                // 41 units: the controls with English text.
                EXPECT_NE(count.output.find(", 41, "), std::string::npos) << count.output;
            }

            Outcome result = import(file);
            if (language == "English") { // the primary language: its texts are the sources
                EXPECT_EQ(result.err, "corvane import: " + file +
                                          " holds text in 'English', the primary language of OrderEntry.vbp; an "
                                          "import changes only the other languages; nothing was imported\n");
                EXPECT_EQ(result.status, 2);
            } else {
                EXPECT_EQ(result.err, "");
                EXPECT_EQ(result.out, language + ": 0 changed, 41 unchanged, 0 skipped.\n" + notWritten());
                EXPECT_EQ(result.status, 0);
            }
            EXPECT_EQ(readFile(dataFile()), original_);
        }
    }
    EXPECT_EQ(readFile(dir_ / "OrderEntry" / "frmOrder.frm"), form);
}

// A file that gettext re-wrapped (as translators' tools do) imports without changes too.
TEST_F(ExchangeCommandsTest, AFileThatGettextRewrappedImportsWithoutChanges) {
    if (std::filesystem::path::preferred_separator != '/')
        GTEST_SKIP() << "gettext's msgcat is a Linux program here";
    std::string file = exportTo("German", "po", "German.po");
    ToolRun rewrap =
        runToolWithStatus("msgcat -o " + (dir_ / "Rewrapped.po").string() + " " + file);
    EXPECT_EQ(rewrap.status, 0) << rewrap.output;
    EXPECT_NE(readFile(dir_ / "Rewrapped.po")
                  .find("msgid \"\"\n\"Opens an empty order form. The order number is "
                        "assigned when you save the \"\n\"order.\"\n"),
              std::string::npos);
    Outcome rewrapped = import((dir_ / "Rewrapped.po").string());
    EXPECT_EQ(rewrapped.out, "German: 0 changed, 41 unchanged, 0 skipped.\n" + notWritten());
    EXPECT_EQ(rewrapped.status, 0);
}

TEST_F(ExchangeCommandsTest, ChangedTargetsChangeExactlyThoseTexts) {
    std::string po = readFile(exportTo("German", "po", "German.po"));
    po = replaced(po, "msgid \"Brings the list of today's orders to the front.\"\nmsgstr \"\"",
                  "msgid \"Brings the list of today's orders to the front.\"\n"
                  "msgstr \"Holt die Liste der heutigen <Aufträge> & mehr nach vorn.\"");
    po = replaced(po, "\"Wählen Sie, welche Aufträge die Liste zeigt:\\r\\n\"",
                  "\"Wählen Sie, was die Liste zeigt:\\r\\n\"");
    writeFile(dir_ / "German.po", po);

    Outcome dryRun = import((dir_ / "German.po").string(), true);
    EXPECT_EQ(dryRun.out,
              "Changed mdiMain/cmdTodaysOrders\nChanged frmMain/cboFilter\n"
              "German: 2 changed, 39 unchanged, 0 skipped.\nDry run: nothing was written.\n");
    EXPECT_EQ(dryRun.status, 0);
    EXPECT_EQ(readFile(dataFile()), original_);

    Outcome result = import((dir_ / "German.po").string());
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "Changed mdiMain/cmdTodaysOrders\nChanged frmMain/cboFilter\n"
                          "German: 2 changed, 39 unchanged, 0 skipped.\nSaved " +
                              dataFile().string() + "\n");
    EXPECT_EQ(result.status, 0);
    std::string expected =
        replaced(original_, "<HelpText Language=\"German\" />",
                 "<HelpText Language=\"German\">Holt die Liste der heutigen &lt;Aufträge&gt; "
                 "&amp; mehr nach vorn.</HelpText>");
    expected = replaced(expected, ">Wählen Sie, welche Aufträge die Liste zeigt:&#13;\n",
                        ">Wählen Sie, was die Liste zeigt:&#13;\n");
    EXPECT_EQ(readFile(dataFile()), expected);

    // XLIFF: leading and trailing spaces and a tab; a text for a record that had no German.
    std::string xliff = readFile(exportTo("German", "xliff", "German.xlf"));
    xliff = replaced(
        xliff,
        "<target state=\"translated\">Öffnet den markierten Auftrag zur Bearbeitung.</target>",
        "<target state=\"translated\"> Öffnet\tden Auftrag.  </target>");
    xliff = replaced(xliff,
                     "<source>Prints the order confirmation on the default printer.</source>\n     "
                     "   <target state=\"needs-translation\"></target>",
                     "<source>Prints the order confirmation on the default printer.</source>\n     "
                     "   <target state=\"translated\">Druckt.</target>");
    writeFile(dir_ / "German.xlf", xliff);
    Outcome second = import((dir_ / "German.xlf").string());
    EXPECT_EQ(second.out, "Changed frmMain/cmdOpen\nChanged frmOrder/cmdPrint\n"
                          "German: 2 changed, 39 unchanged, 0 skipped.\nSaved " +
                              dataFile().string() + "\n");
    EXPECT_EQ(second.status, 0);
    expected = replaced(expected, ">Öffnet den markierten Auftrag zur Bearbeitung.<",
                        "> Öffnet\tden Auftrag.  <");
    expected = replaced(expected,
                        "<HelpText Language=\"English\">Prints the order confirmation on the "
                        "default printer.</HelpText>\n",
                        "<HelpText Language=\"English\">Prints the order confirmation on the "
                        "default printer.</HelpText>\n"
                        "      <HelpText Language=\"German\">Druckt.</HelpText>\n");
    EXPECT_EQ(readFile(dataFile()), expected);
}

TEST_F(ExchangeCommandsTest, ConflictsAndUnknownUnitsAreSkippedAndReported) {
    std::string po = readFile(exportTo("German", "po", "German.po"));
    // Since the export, a developer changed the English text of cmdOpen.
    std::string changedEnglish = replaced(original_, ">Opens the selected order for editing.<",
                                          ">Opens the selected order.<");
    writeFile(dataFile(), changedEnglish);
    po = replaced(po, "msgstr \"Öffnet den markierten Auftrag zur Bearbeitung.\"",
                  "msgstr \"Öffnet den Auftrag.\"");
    po = replaced(
        po, "msgid \"Brings the list of today's orders to the front.\"\nmsgstr \"\"",
        "msgid \"Brings the list of today's orders to the front.\"\nmsgstr \"Holt die Liste.\"");
    // Units of a control that is gone (its record is still in the file) and of one never exported.
    po +=
        "\nmsgctxt \"frmOrder/cmdCalculate\"\nmsgid \"Works out the total.\"\nmsgstr \"Rechnet.\"\n"
        "\nmsgctxt \"frmMain/cmdVanished\"\nmsgid \"Gone.\"\nmsgstr \"Weg.\"\n";
    writeFile(dir_ / "German.po", po);

    Outcome result = import((dir_ / "German.po").string());
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "Changed mdiMain/cmdTodaysOrders\n"
                          "Skipped frmMain/cmdOpen: conflict: the English text changed since the "
                          "export; the German text stays\n"
                          "Skipped frmOrder/cmdCalculate: unknown unit: the project has no control "
                          "'cmdCalculate' in a module "
                          "'frmOrder'\n"
                          "Skipped frmMain/cmdVanished: unknown unit: the project has no control "
                          "'cmdVanished' in a module "
                          "'frmMain'\n"
                          "German: 1 changed, 39 unchanged, 3 skipped.\nSaved " +
                              dataFile().string() + "\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(readFile(dataFile()),
              replaced(changedEnglish, "<HelpText Language=\"German\" />",
                       "<HelpText Language=\"German\">Holt die Liste.</HelpText>"));
}

TEST_F(ExchangeCommandsTest, FilesOfAnotherProjectOrLanguageAndMalformedFilesWriteNothing) {
    std::string po = readFile(exportTo("German", "po", "German.po"));
    std::string xliff = readFile(exportTo("German", "xliff", "German.xlf"));
    auto refused = [&](const std::string& name, const std::string& content,
                       const std::string& message) {
        SCOPED_TRACE(name);
        std::string file = (dir_ / name).string();
        writeFile(file, replaced(content, "zur Bearbeitung.", "zum Bearbeiten."));
        Outcome result = import(file);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "corvane import: " + file + message + "\n");
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(readFile(dataFile()), original_);
    };
    refused("Billing.po",
            replaced(po, "X-Corvane-Project: OrderEntry.vbp", "X-Corvane-Project: Billing.vbp"),
            " was exported from the project 'Billing.vbp', not from 'OrderEntry.vbp'; nothing was "
            "imported");
    refused(
        "French.xlf",
        replaced(xliff, "corvane:target-language=\"German\"", "corvane:target-language=\"French\""),
        " holds text in 'French', which is not a language of OrderEntry.vbp (English, German); "
        "nothing was "
        "imported");
    refused("Source.po",
            replaced(po, "X-Corvane-Source-Language: English", "X-Corvane-Source-Language: German"),
            " was exported with 'German' as source, but the primary language of OrderEntry.vbp is "
            "'English'; export "
            "the file again; nothing was imported");
    refused("Cut.xlf", xliff.substr(0, xliff.find("</body>")),
            ": line 463: not well-formed XML (no element found)");
    refused("Quote.po",
            replaced(po, "msgid \"Opens the selected order for editing.\"",
                     "msgid \"Opens the selected"),
            ": line 58: not a well-formed quoted string: \"Opens the selected");
    refused("Foreign.po",
            "msgid \"\"\nmsgstr \"Language: de\\n\"\nmsgid \"zur Bearbeitung.\"\nmsgstr \"x\"\n",
            ": the header does not name the project's language (field X-Corvane-Language); the "
            "file was not "
            "written by corvane export");

    Outcome missing = import((dir_ / "Missing.po").string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("Missing.po"), std::string::npos) << missing.err;
    EXPECT_EQ(readFile(dataFile()), original_);

    // A help data file that does not read completely is a warning: the import takes the file
    // apart only from what was read and never writes into it (a save would drop what was not
    // read); an export exports what was read.
    std::string damaged = original_.substr(0, original_.size() / 2);
    writeFile(dataFile(), damaged);
    writeFile(dir_ / "Changed.po", replaced(po, "zur Bearbeitung.\"", "zum Bearbeiten.\""));
    Outcome unreadable = import((dir_ / "Changed.po").string());
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_EQ(unreadable.out, "");
    EXPECT_TRUE(unreadable.err.starts_with("corvane import: warning: [Help data file damaged] The help data file "))
        << unreadable.err;
    EXPECT_TRUE(unreadable.err.ends_with("; nothing was imported\n")) << unreadable.err;
    EXPECT_EQ(readFile(dataFile()), damaged);
    Outcome partial = corvane({"export", project(), "--language", "German"});
    EXPECT_TRUE(partial.err.starts_with("corvane export: warning: [Help data file damaged] ")) << partial.err;
    EXPECT_EQ(partial.err.find("nothing was done"), std::string::npos) << partial.err;

    // A read-only data file is not replaced, and nothing is reported as changed.
    writeFile(dataFile(), original_);
    fs::permissions(dataFile(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Outcome readOnly = import((dir_ / "Changed.po").string());
    fs::permissions(dataFile(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(readOnly.status, 2);
    EXPECT_EQ(readOnly.out, "");
    EXPECT_EQ(readOnly.err, "corvane import: The file '" + dataFile().string() +
                                "' is read-only; it was not replaced; nothing was imported\n");
    EXPECT_EQ(readFile(dataFile()), original_);
}

TEST_F(ExchangeCommandsTest, UsageErrorsAndTheHelpText) {
    EXPECT_NE(corvane({"--help"})
                  .out.find("  export PROJECT.vbp --language NAME [--format xliff|po] [-o FILE]\n"),
              std::string::npos);
    Outcome noLanguage = corvane({"export", project()});
    EXPECT_EQ(noLanguage.status, 2);
    EXPECT_EQ(noLanguage.err,
              "Usage: corvane export PROJECT.vbp --language NAME [--format xliff|po] [-o FILE]\n");
    Outcome french = corvane({"export", project(), "--language", "French"});
    EXPECT_EQ(french.status, 2);
    EXPECT_EQ(french.out, "");
    EXPECT_EQ(french.err, "corvane export: 'French' is not a language of OrderEntry.vbp; its "
                          "languages are English, German\n");
    EXPECT_EQ(corvane({"export", project(), "--language", "German", "--format", "tmx"}).err,
              "corvane export: unknown format 'tmx'; use xliff or po\n");
    EXPECT_EQ(corvane({"import", project()}).err,
              "Usage: corvane import PROJECT.vbp FILE [--dry-run]\n");

    // Without -o the file goes to standard output, the same as the file written with -o.
    Outcome toStdout = corvane({"export", project(), "--language", "german"});
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_EQ(toStdout.out, readFile(exportTo("German", "xliff", "German.xlf")));
}

} // namespace
} // namespace corvane::cli
