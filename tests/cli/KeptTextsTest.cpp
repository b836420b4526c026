// The help text the program cannot place is never lost on the way through the commands: a
// record in the older form, texts of a language that is not selected, the records of a form
// taken out of the project and of a form whose file is missing all go through scan,
// scan --save, compile, export, import and coverage and are still in the data file after.
#include "cli/CommandOutcome.h"
#include "cli/ProjectCopy.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

class KeptTexts : public ProjectCopy {
protected:
    // Runs the commands one after the other; `designerMissing` is the exit status scan and
    // compile give (1 when a designer could not be read, as the help states). Every command's
    // output is kept for failure messages.
    void runEveryCommand(int designerMissing = 0) {
        const std::string xliff = (dir_ / "German.xlf").string();
        expectStatus({"scan", project()}, designerMissing);
        expectStatus({"scan", project(), "--save"}, designerMissing);
        expectStatus({"compile", project(), "--yes"}, designerMissing);
        expectStatus({"export", project(), "--language", "German", "-o", xliff}, 0);
        expectStatus({"import", project(), xliff}, 0);
        expectStatus({"coverage", project()}, 0);
    }

    void expectStatus(const std::vector<std::string>& arguments, int status) {
        Outcome result = runCommandLine(arguments);
        log_ += "$ " + arguments[0] + " (" + std::to_string(result.status) + ")\n" + result.out + result.err;
        EXPECT_EQ(result.status, status) << arguments[0] << ": " << result.out << result.err;
    }

    // Expects each text in the data file as it is now.
    void expectInDataFile(const std::vector<std::string>& texts) {
        const std::string saved = test::readFile(dataFile());
        for (const std::string& text : texts)
            EXPECT_NE(saved.find(text), std::string::npos) << text << "\n--- data file:\n" << saved << log_;
    }

    std::string log_;
};

const std::string AboutText = "<HelpText Language=\"English\">Shows information about your computer that our "
                              "support may ask you for.</HelpText>";

TEST_F(KeptTexts, ARecordInTheOlderFormIsReadAsNeutralTextAndKept) {
    edit("ContextHelp.txt",
         "ControlType=\"CommandButton\" Caption=\"&amp;Today's Orders\">\n"
         "      <HelpText Language=\"English\">Brings the list of today's orders to the front.</HelpText>\n"
         "      <HelpText Language=\"German\" />\n"
         "    </HelpItem>",
         "ControlType=\"CommandButton\">Brings today's orders to the front.</HelpItem>");
    // One written with its closing tag on the next line: the line break and indent are no text.
    edit("ContextHelp.txt",
         "Caption=\"&amp;Customers\">\n"
         "      <HelpText Language=\"English\">Opens the customer file, where you can look up, add and change "
         "customers.</HelpText>\n"
         "      <HelpText Language=\"German\">Öffnet die Kundendatei. Dort können Sie Kunden suchen, anlegen und "
         "ändern.</HelpText>\n"
         "    </HelpItem>",
         "Caption=\"&amp;Customers\">\n    </HelpItem>");
    runEveryCommand();
    expectInDataFile({"<HelpText Language=\"Neutral\">Brings today's orders to the front.</HelpText>"});
    const std::string saved = test::readFile(dataFile());
    EXPECT_EQ(saved.find("<HelpText Language=\"Neutral\">\n"), std::string::npos) << saved;
    // The record has no text, so no number and no topic.
    EXPECT_NE(saved.find("ControlName=\"cmdCustomers\" ContextHelpID=\"0\" ControlType=\"CommandButton\" "
                         "Caption=\"&amp;Customers\" />"),
              std::string::npos)
        << saved;
    EXPECT_FALSE(fs::exists(folder() / "ContextHelp.txt.damaged")) << log_;
}

TEST_F(KeptTexts, TextsOfALanguageNotSelectedStayInTheirRecords) {
    edit("ContextHelp.txt",
         "<HelpText Language=\"German\">Öffnet ein leeres Auftragsformular. Die Auftragsnummer wird beim "
         "Speichern vergeben.</HelpText>",
         "<HelpText Language=\"German\">Öffnet ein leeres Auftragsformular. Die Auftragsnummer wird beim "
         "Speichern vergeben.</HelpText>\n"
         "      <HelpText Language=\"French\">Ouvre une commande vide.</HelpText>");
    runEveryCommand();
    expectInDataFile({"</HelpText>\n      <HelpText Language=\"French\">Ouvre une commande vide.</HelpText>"});
    EXPECT_EQ(test::readFile(dataFile()).find("<SelectedLanguage Name=\"French\""), std::string::npos);
}

TEST_F(KeptTexts, TheRecordsOfAFormTakenOutOfTheProjectAreKeptAndNamed) {
    edit("OrderEntry.vbp", "Form=frmAbout.frm\r\n", "");
    Outcome scanned = runCommandLine({"scan", project()});
    EXPECT_NE(scanned.out.find("Help text kept of controls no longer in the project: "), std::string::npos)
        << scanned.out;
    EXPECT_NE(scanned.out.find("frmAbout (the whole module)"), std::string::npos) << scanned.out;
    runEveryCommand();
    expectInDataFile({"<VBComponent ComponentName=\"frmAbout\">", AboutText});
}

TEST_F(KeptTexts, TheRecordsOfAFormWhoseFileIsMissingAreKept) {
    fs::remove(folder() / "frmAbout.frm");
    runEveryCommand(1);
    expectInDataFile({"<VBComponent ComponentName=\"frmAbout\">", AboutText});
    EXPECT_NE(log_.find("frmAbout.frm"), std::string::npos) << log_; // the file is named
}

} // namespace
} // namespace corvane::cli
