// Saving a form whose document keeps only the designer part: the file's own code, its
// attribute lines and its .frx stay byte for byte, whatever their line ends and bytes; a file
// changed, gone or read-only on disk is refused, naming it; the summary read with the file
// agrees with the property sets built later.
#include "testsupport/TempDir.h"
#include "vbide/VBProject.h"
#include "vbruntime/Utilities.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace corvane;
using namespace corvane::vbide;
using corvane::test::readFile;
using corvane::test::TempDir;
using corvane::test::writeFile;

namespace {

// A form of one button, with the given line end, padding lines before the block and code.
std::string formWith(const std::string& eol, const std::string& padding = {}) {
    return "VERSION 5.00" + eol + padding + "Begin VB.Form frmSave " + eol + "   Caption         =   \"Save\"" + eol +
           "   Begin VB.CommandButton cmdOK " + eol + "      Caption         =   \"OK\"" + eol +
           "      WhatsThisHelpID =   5" + eol + "   End" + eol + "End" + eol + "Attribute VB_Name = \"frmSave\"" +
           eol + "Attribute VB_Exposed = False" + eol;
}

std::filesystem::path writeProject(const TempDir& temp, const std::string& form) {
    writeFile(temp / "save.frm", form);
    writeFile(temp / "Save.vbp", "Type=Exe\r\nForm=save.frm\r\nName=\"Save\"\r\n");
    return temp / "Save.vbp";
}

std::shared_ptr<VBControl> firstControl(VBProject& project) {
    return project.VBComponents().Item(1)->Designer()->VBControls().Item(1);
}

// Opens the form, sets cmdOK's context number and saves: the file's bytes afterwards.
std::string savedWithHelpId(const std::string& form, int32_t id) {
    TempDir temp;
    auto project = VBProject::open(writeProject(temp, form));
    firstControl(*project)->Properties().Item("WhatsThisHelpID").SetValue(Variant(id));
    EXPECT_EQ(project->save(), 1);
    return readFile(temp / "save.frm");
}

// The save fails with a message naming the file and the problem; the file stays as it is.
void expectRefusedNamingTheFile(VBProject& project, const TempDir& temp, const std::string& onDisk,
                                const std::string& problem) {
    try {
        project.save();
        ADD_FAILURE() << "the save was not refused";
    } catch (const VbError& error) {
        EXPECT_NE(error.description().find("save.frm"), std::string::npos) << error.description();
        EXPECT_NE(error.description().find(problem), std::string::npos) << error.description();
    }
    EXPECT_EQ(readFile(temp / "save.frm"), onDisk);
}

} // namespace

TEST(DesignerSaveTest, TheCodeAfterThePartIsKeptByteForByteWhateverItsLineEndsAndBytes) {
    const std::vector<std::string> codes = {
        "Option Explicit\r\nPrivate Sub Form_Load()\r\nEnd Sub\r\n",
        "Option Explicit\nPrivate Sub Form_Load()\nEnd Sub", // LF, no final line end
        "Option Explicit\rPrivate Sub Form_Load()\rEnd Sub\r",
        "Option Explicit\r\n' Caf\xe9 \x81\x8d\xff\xfe\r\nConst A = \"\0\0\"\n\r\n\n\x1a",
        std::string("' \xef\xbb\xbf") + std::string(3, '\0') + "\r\n" + std::string(200000, 'x') + "\r\n",
        "",
    };
    for (const std::string& eol : {std::string("\r\n"), std::string("\n"), std::string("\r")})
        for (const std::string& code : codes) {
            std::string form = formWith(eol);
            std::string expected = form;
            expected.replace(expected.find("=   5"), 5, "=   6");
            EXPECT_EQ(savedWithHelpId(form + code, 6), expected + code) << code.substr(0, 20);
        }
    // A byte order mark before the block stays; a part whose last attribute has no line end too.
    std::string bom = "\xef\xbb\xbf" + formWith("\r\n");
    std::string expected = bom;
    expected.replace(expected.find("=   5"), 5, "=   0"); // removed: back at its default
    expected.erase(expected.find("      WhatsThisHelpID =   0\r\n"), 29);
    EXPECT_EQ(savedWithHelpId(bom + "Sub A()\r\nEnd Sub\r\n", 0), expected + "Sub A()\r\nEnd Sub\r\n");
    std::string unended = formWith("\r\n");
    unended.resize(unended.size() - 2);
    expected = unended;
    expected.replace(expected.find("=   5"), 5, "=   7");
    EXPECT_EQ(savedWithHelpId(unended, 7), expected);
}

TEST(DesignerSaveTest, APartEndingAtTheEdgeOfAReadPieceIsCutWhereTheFileHasIt) {
    // The first piece read is 64 KiB: parts that end just before, at and after its edge, and
    // a CR LF split by it.
    const size_t piece = 65536;
    const std::string code = "Option Explicit\r\nSub A()\r\nEnd Sub\r\n";
    for (long shift = -3; shift <= 3; ++shift) {
        std::string bare = formWith("\r\n", "Object = \"\"\r\n");
        size_t target = piece + static_cast<size_t>(shift);
        std::string padding = "Object = \"" + std::string(target - bare.size(), 'p') + "\"\r\n";
        std::string form = formWith("\r\n", padding);
        ASSERT_EQ(form.size(), target);
        std::string expected = form;
        expected.replace(expected.find("=   5"), 5, "=   9");
        EXPECT_EQ(savedWithHelpId(form + code, 9), expected + code) << "shift " << shift;
        EXPECT_EQ(savedWithHelpId(form, 9), expected) << "shift " << shift;
    }
}

TEST(DesignerSaveTest, TheFrxBesideTheFormAndItsCaptionStayAsTheyAre) {
    TempDir temp;
    std::string frx = std::string("\x05Hello") + std::string("\x02\x00\x01", 3);
    writeFile(temp / "save.frx", frx);
    std::string form = formWith("\r\n");
    form.replace(form.find("\"OK\""), 4, "\"save.frx\":0000");
    auto project = VBProject::open(writeProject(temp, form + "Sub A()\r\nEnd Sub\r\n"));
    auto ok = firstControl(*project);
    EXPECT_EQ(ok->captionText(), "Hello"); // from the summary
    ok->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{3}));
    EXPECT_EQ(ok->captionText(), "Hello"); // from the property set
    EXPECT_EQ(project->save(), 1);
    std::string expected = form;
    expected.replace(expected.find("=   5"), 5, "=   3");
    EXPECT_EQ(readFile(temp / "save.frm"), expected + "Sub A()\r\nEnd Sub\r\n");
    EXPECT_EQ(readFile(temp / "save.frx"), frx);
}

TEST(DesignerSaveTest, ADesignerPartChangedOnDiskAfterTheSetsWereBuiltIsNotOverwritten) {
    const std::string code = "Sub A()\r\nEnd Sub\r\n";
    std::string form = formWith("\r\n");
    // Another program cut the file short inside the block: the change cannot go onto it.
    {
        TempDir temp;
        auto project = VBProject::open(writeProject(temp, form + code));
        firstControl(*project)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{8}));
        writeFile(temp / "save.frm", form.substr(0, 90));
        expectRefusedNamingTheFile(*project, temp, form.substr(0, 90), "cannot be read now");
        EXPECT_TRUE(project->VBComponents().Item(1)->isDirty()); // the change is still there to save
    }
    // A change of the same size between the summary and the first use of the properties is
    // refused too, not mixed with the summary: in the part's first bytes, in its middle, and in
    // the last bytes of its end.
    for (const auto& [from, to] : {std::pair{"VERSION 5.00", "VERSION 5.01"}, {"=   5", "=   6"},
                                   {"VB_Exposed = False\r\n", "VB_Exposed = Falsf\r\n"}}) {
        TempDir temp;
        auto project = VBProject::open(writeProject(temp, form + code));
        auto ok = firstControl(*project);
        std::string sameSize = form;
        sameSize.replace(sameSize.find(from), std::string_view(from).size(), to);
        writeFile(temp / "save.frm", sameSize + code);
        EXPECT_EQ(ok->whatsThisHelpID(), 5);
        try {
            ok->Properties();
            ADD_FAILURE() << "a changed block gave properties";
        } catch (const VbError& error) {
            EXPECT_EQ(error.number(), vberr::FormControlsUnreadable);
            EXPECT_NE(error.description().find("save.frm"), std::string::npos) << error.description();
        }
    }
    // A change saved by this program is the part the next save compares with.
    TempDir temp;
    auto project = VBProject::open(writeProject(temp, form + code));
    auto ok = firstControl(*project);
    ok->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{8}));
    EXPECT_EQ(project->save(), 1);
    writeFile(temp / "save.frm", readFile(temp / "save.frm") + "Sub B()\r\nEnd Sub\r\n");
    ok->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{11}));
    EXPECT_EQ(project->save(), 1);
    std::string expected = form;
    expected.replace(expected.find("=   5"), 5, "=   11");
    EXPECT_EQ(readFile(temp / "save.frm"), expected + code + "Sub B()\r\nEnd Sub\r\n");
}

TEST(DesignerSaveTest, AReadOnlyOrDeletedFormIsRefusedNamingIt) {
    TempDir temp;
    std::string form = formWith("\r\n") + "Sub A()\r\nEnd Sub\r\n";
    auto project = VBProject::open(writeProject(temp, form));
    firstControl(*project)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{4}));
    ::chmod((temp / "save.frm").c_str(), 0444);
    expectRefusedNamingTheFile(*project, temp, form, "read-only");
    ::chmod((temp / "save.frm").c_str(), 0644);
    std::filesystem::remove(temp / "save.frm");
    expectRefusedNamingTheFile(*project, temp, "", "deleted");
    EXPECT_FALSE(std::filesystem::exists(temp / "save.frm"));
    // No temporary file is left beside it.
    for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
        EXPECT_EQ(entry.path().extension() == ".tmp", false) << entry.path();
}

TEST(DesignerSaveTest, TheSummaryAgreesWithThePropertySetsForEveryKindOfBlock) {
    TempDir temp;
    writeFile(temp / "menus.frx", std::string("\x08") + "From frx");
    std::string menus = "VERSION 5.00\r\n"
                        "Begin VB.Form frmMenus \r\n"
                        "   Begin VB.Frame fraOuter \r\n"
                        "      WhatsThisHelpID =   &H10&\r\n"
                        "      Begin VB.Frame fraInner \r\n"
                        "         WhatsThisHelpID =   -5\r\n"
                        "         Begin VB.TextBox txtA \r\n"
                        "            Index           =   3\r\n"
                        "            WhatsThisHelpID=12\r\n"
                        "         End\r\n"
                        "         Begin VB.TextBox txtA \r\n"
                        "            Index           =   &H1\r\n"
                        "         End\r\n"
                        "      End\r\n"
                        "   End\r\n"
                        "   Begin VB.CommandButton cmdOK \r\n"
                        "      Caption         =   \"menus.frx\":0000\r\n"
                        "      WhatsThisHelpID =   1.5\r\n"
                        "   End\r\n"
                        "   Begin VB.Menu mnuFile \r\n"
                        "      Caption         =   \"&File\"\r\n"
                        "      Begin VB.Menu mnuOpen \r\n"
                        "         Caption         =   \"Open\"\r\n"
                        "         Index           =   0\r\n"
                        "      End\r\n"
                        "   End\r\n"
                        "End\r\n"
                        "Attribute VB_Name = \"frmMenus\"\r\n";
    writeFile(temp / "menus.frm", menus);
    std::string other = formWith("\r\n");
    writeFile(temp / "save.frm", other);
    writeFile(temp / "Two.vbp", "Type=Exe\r\nForm=menus.frm\r\nForm=save.frm\r\n");
    auto summaries = VBProject::open(temp / "Two.vbp");
    auto built = VBProject::open(temp / "Two.vbp");
    int checked = 0;
    for (int c = 1; c <= 2; ++c) {
        auto& read = summaries->VBComponents().Item(c)->Designer()->VBControls();
        auto& full = built->VBComponents().Item(c)->Designer()->VBControls();
        ASSERT_EQ(read.Count(), full.Count());
        for (int i = 1; i <= read.Count(); ++i) {
            auto summary = read.Item(i);
            Properties& properties = full.Item(i)->Properties();
            EXPECT_EQ(summary->name(), properties.Item("Name").Value().toText());
            EXPECT_EQ(summary->index(), properties.Item("Index").Value().toLong()) << summary->name();
            const Property* id = properties.find("WhatsThisHelpID");
            EXPECT_EQ(summary->whatsThisHelpID(), id ? std::optional<int32_t>(id->Value().toLong()) : std::nullopt)
                << summary->name();
            const Property* caption = properties.find("Caption");
            EXPECT_EQ(summary->captionText().has_value(), caption != nullptr) << summary->name();
            if (caption) {
                EXPECT_EQ(summary->captionText(), Utilities::ValueText(caption->Value())) << summary->name();
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked, 8);
    auto& menusRead = summaries->VBComponents().Item("frmMenus")->Designer()->VBControls();
    EXPECT_EQ(menusRead.Item(1)->whatsThisHelpID(), 16);
    EXPECT_EQ(menusRead.Item(2)->whatsThisHelpID(), -5);
    EXPECT_EQ(menusRead.Item(3)->whatsThisHelpID(), 12);
    EXPECT_EQ(menusRead.Item(4)->index(), 1);
    EXPECT_EQ(menusRead.Item(5)->captionText(), "From frx");
    EXPECT_EQ(menusRead.Item(7)->index(), 0);
    // Same-named controls of two forms are told apart by their form: a write reaches only its own.
    auto& saveBuilt = built->VBComponents().Item("frmSave")->Designer()->VBControls();
    saveBuilt.Item(1)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{77}));
    EXPECT_EQ(built->save(), 1);
    EXPECT_EQ(readFile(temp / "menus.frm"), menus);
}
