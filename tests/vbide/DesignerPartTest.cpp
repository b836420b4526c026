// The designer part of a form file: read without the code after it, controls summarised, property
// sets built on first use, and writes that keep the file's own code.
#include "testsupport/TempDir.h"
#include "vbide/FormDocument.h"
#include "vbide/VBProject.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;
using namespace corvane::vbide;
using corvane::test::readFile;
using corvane::test::TempDir;
using corvane::test::writeFile;

namespace {

const std::string designerPart = "VERSION 5.00\r\n"
                                 "Begin VB.Form frmCode \r\n"
                                 "   Caption         =   \"Code\"\r\n"
                                 "   Begin VB.CommandButton cmdGo \r\n"
                                 "      Caption         =   \"Go\"\r\n"
                                 "      Index           =   2\r\n"
                                 "      WhatsThisHelpID =   5\r\n"
                                 "   End\r\n"
                                 "   Begin VB.Label lblNote \r\n"
                                 "      BeginProperty Font \r\n"
                                 "         Name            =   \"Arial\"\r\n"
                                 "      EndProperty\r\n"
                                 "   End\r\n"
                                 "End\r\n"
                                 "Attribute VB_Name = \"frmCode\"\r\n"
                                 "Attribute VB_Exposed = False\r\n";

// Code that looks like a designer block, property lines and attributes.
const std::string codePart = "Option Explicit\r\n"
                             "' Begin VB.TextBox txtFake\r\n"
                             "Private Sub Form_Load()\r\n"
                             "Begin VB.TextBox txtFake \r\n"
                             "   WhatsThisHelpID =   99\r\n"
                             "   Caption         =   \"Fake\"\r\n"
                             "End\r\n"
                             "Attribute VB_Name = \"frmOther\"\r\n"
                             "End Sub\r\n";

std::shared_ptr<FormDocument> readForm(const std::string& bytes) {
    return std::make_shared<FormDocument>(bytes, 1252, "code.frm", FrxLoader{}, ControlTypeTable::standard());
}

std::filesystem::path writeProject(const TempDir& temp, const std::string& form) {
    writeFile(temp / "code.frm", form);
    writeFile(temp / "Code.vbp", "Type=Exe\r\nForm=code.frm\r\nName=\"Code\"\r\n");
    return temp / "Code.vbp";
}

} // namespace

TEST(DesignerPartTest, ThePartEndsAfterTheBlockAndItsAttributeLines) {
    std::string file = designerPart + codePart;
    EXPECT_EQ(designerPartEnd(file, true), designerPart.size());
    EXPECT_EQ(designerPartEnd(file, false), designerPart.size());
    // The start of a file whose part has not ended yet asks for more; the whole of it is all part.
    EXPECT_EQ(designerPartEnd(designerPart.substr(0, 200), false), std::string::npos);
    EXPECT_EQ(designerPartEnd(designerPart, false), std::string::npos); // attributes may follow
    EXPECT_EQ(designerPartEnd(designerPart, true), designerPart.size());
    // A lone CR ends a line too; a last line without a line end is kept when it is an attribute.
    std::string crOnly = "Begin VB.Form f\r   Caption = \"x\"\rEnd\rAttribute VB_Name = \"f\"\rSub A()\r";
    EXPECT_EQ(designerPartEnd(crOnly, true), crOnly.find("Sub"));
    EXPECT_EQ(designerPartEnd("Begin VB.Form f\nEnd\nAttribute VB_Name = \"f\"", true), 43u);
    // "End" inside a BeginProperty group does not end the block.
    std::string group = "Begin VB.Form f\n BeginProperty Font\n End\n EndProperty\nEnd\nCode\n";
    EXPECT_EQ(designerPartEnd(group, true), group.find("Code"));
    std::string unended = "Begin VB.Form f\n   Caption = \"x\"\n";
    EXPECT_EQ(designerPartEnd(unended, true), unended.size());
}

TEST(DesignerPartTest, CodeThatLooksLikeABlockIsNeitherReadNorKept) {
    auto form = readForm(designerPart + codePart);
    EXPECT_EQ(form->name(), "frmCode");
    EXPECT_EQ(form->controls().Count(), 2);
    EXPECT_EQ(form->render(), designerPart);
    auto go = form->controls().Item(1);
    EXPECT_EQ(go->name(), "cmdGo");
    EXPECT_EQ(go->index(), 2);
    EXPECT_EQ(go->whatsThisHelpID(), 5);
    EXPECT_EQ(go->captionText(), "Go");
    EXPECT_EQ(go->beginLine(), 3u);
    auto note = form->controls().Item(2);
    EXPECT_EQ(note->index(), -1);
    EXPECT_EQ(note->whatsThisHelpID(), 0);
    EXPECT_EQ(note->captionText(), "");
    EXPECT_TRUE(form->warnings().empty());
}

TEST(DesignerPartTest, TheSummaryAgreesWithThePropertiesBuiltLaterAndFollowsTheirChanges) {
    auto form = readForm(designerPart + codePart);
    auto go = form->controls().Item(1);
    Properties& properties = go->Properties(); // built now, from the kept bytes
    EXPECT_EQ(properties.Item("Name").Value().toText(), "cmdGo");
    EXPECT_EQ(properties.Item("Index").Value().toLong(), 2);
    EXPECT_EQ(properties.Item("WhatsThisHelpID").Value().toLong(), 5);
    EXPECT_EQ(form->designerProperties().Item("Caption").Value().toText(), "Code");
    EXPECT_TRUE(form->warnings().empty()); // building again tells nothing twice
    properties.Item("WhatsThisHelpID").SetValue(Variant(int32_t{8}));
    EXPECT_EQ(go->whatsThisHelpID(), 8);
    EXPECT_TRUE(form->isDirty());
    std::string expected = designerPart;
    expected.replace(expected.find("=   5"), 5, "=   8");
    EXPECT_EQ(form->render(), expected);
}

TEST(DesignerPartTest, ACaptionWrittenAsAPropertyGroupHasNoTextBeforeOrAfterTheSetIsBuilt) {
    const std::string grouped = "VERSION 5.00\r\n"
                                "Begin VB.Form frmGroup \r\n"
                                "   Begin VB.Label lblOdd \r\n"
                                "      BeginProperty Caption \r\n"
                                "         Name            =   \"Arial\"\r\n"
                                "      EndProperty\r\n"
                                "   End\r\n"
                                "   Begin VB.Label lblPlain \r\n"
                                "      Caption         =   \"Plain\"\r\n"
                                "   End\r\n"
                                "End\r\n";
    auto form = readForm(grouped);
    auto odd = form->controls().Item(1);
    auto plain = form->controls().Item(2);
    for (int built = 0; built < 2; ++built) {
        SCOPED_TRACE(built ? "from the property set" : "from the summary");
        try {
            odd->captionText();
            ADD_FAILURE() << "a caption without a text was taken as text";
        } catch (const VbError& error) {
            EXPECT_EQ(error.number(), vberr::TypeMismatch);
        }
        EXPECT_EQ(plain->captionText(), "Plain");
        odd->Properties(); // builds the sets of the whole file
    }
}

TEST(DesignerPartTest, AControlOutlivingItsDocumentKeepsWhatWasBuiltAndCannotBuildMore) {
    auto form = readForm(designerPart);
    auto go = form->controls().Item(1);
    form.reset();
    EXPECT_EQ(go->name(), "cmdGo"); // the summary stays
    EXPECT_THROW(go->Properties(), VbError);

    form = readForm(designerPart);
    go = form->controls().Item(1);
    go->Properties();
    form.reset();
    EXPECT_EQ(go->Properties().Item("Caption").Value().toText(), "Go");

    // The controls of a file live in one block their pointers share: each is kept alive by any of
    // them, and each is still itself.
    form = readForm(designerPart);
    std::shared_ptr<VBControl> note = form->controls().Item(2);
    go = form->controls().Item(1);
    form.reset();
    EXPECT_NE(go.get(), note.get());
    go.reset();
    EXPECT_EQ(note->name(), "lblNote");
    EXPECT_EQ(note->ProgId(), "VB.Label");
    EXPECT_THROW(note->Properties(), VbError);

    // So are the controls a walk over the list hands out, which are those at their positions.
    form = readForm(designerPart);
    std::vector<std::shared_ptr<VBControl>> walked;
    for (const auto& control : form->controls())
        walked.push_back(control);
    ASSERT_EQ(walked.size(), 2u);
    EXPECT_EQ(walked[0].get(), form->controls().Item(1).get());
    EXPECT_EQ(walked[1].get(), form->controls().Item(2).get());
    form.reset();
    walked.erase(walked.begin());
    EXPECT_EQ(walked[0]->name(), "lblNote");
}

TEST(DesignerPartTest, WritingAHelpIdAfterASummaryReadKeepsEveryOtherByteAndTheFilesCode) {
    TempDir temp;
    auto project = VBProject::open(writeProject(temp, designerPart + codePart));
    auto component = project->VBComponents().Item("frmCode");
    EXPECT_EQ(component->Designer()->VBControls().Count(), 2);
    EXPECT_EQ(component->Designer()->VBControls().Item(1)->whatsThisHelpID(), 5);
    // Another program changes the code meanwhile: the write keeps the code as the file has it.
    std::string newCode = codePart + "Private Sub Added()\r\nEnd Sub\r\n";
    writeFile(temp / "code.frm", designerPart + newCode);
    component->Designer()->VBControls().Item(2)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{7}));
    EXPECT_EQ(project->save(), 1);
    std::string expected = designerPart;
    expected.insert(expected.find("      EndProperty\r\n") + 19, "      WhatsThisHelpID =   7\r\n");
    EXPECT_EQ(readFile(temp / "code.frm"), expected + newCode);
    // A file that is gone cannot lose its code to a write: the save fails and names it.
    component->Designer()->VBControls().Item(2)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{9}));
    std::filesystem::remove(temp / "code.frm");
    EXPECT_THROW(project->save(), VbError);
    EXPECT_FALSE(std::filesystem::exists(temp / "code.frm"));
}

TEST(DesignerPartTest, ANameAttributeFurtherDownIsStillFoundAndALongBlockIsReadWhole) {
    TempDir temp;
    std::string late = designerPart.substr(0, designerPart.find("Attribute")) + "Option Explicit\r\n" +
                       "Attribute VB_Name = \"frmLate\"\r\n";
    auto project = VBProject::open(writeProject(temp, late));
    EXPECT_EQ(project->VBComponents().Item(1)->Name(), "frmLate");

    // A block far longer than one piece of reading, followed by code.
    std::string big = "VERSION 5.00\r\nBegin VB.Form frmBig \r\n";
    for (int i = 0; i < 3000; ++i)
        big += "   Begin VB.Label lbl" + std::to_string(i) + " \r\n      Caption         =   \"Label " +
               std::to_string(i) + "\"\r\n      WhatsThisHelpID =   " + std::to_string(i) + "\r\n   End\r\n";
    big += "End\r\nAttribute VB_Name = \"frmBig\"\r\n";
    auto bigProject = VBProject::open(writeProject(temp, big + codePart));
    auto& controls = bigProject->VBComponents().Item("frmBig")->Designer()->VBControls();
    ASSERT_EQ(controls.Count(), 3000);
    EXPECT_EQ(controls.Item(3000)->whatsThisHelpID(), 2999);
    EXPECT_EQ(controls.Item(3000)->name(), "lbl2999");
}

TEST(DesignerPartTest, PropertiesAreReadAgainFromTheFileAndRefusedWhenItsBlockChangedMeanwhile) {
    TempDir temp;
    auto project = VBProject::open(writeProject(temp, designerPart + codePart));
    auto component = project->VBComponents().Item("frmCode");
    // Only the code changes: the block read again is the one summarised.
    writeFile(temp / "code.frm", designerPart + "Option Explicit\r\n");
    EXPECT_EQ(component->Designer()->VBControls().Item(1)->Properties().Item("Caption").Value().toText(), "Go");

    auto other = VBProject::open(writeProject(temp, designerPart + codePart));
    auto changed = other->VBComponents().Item("frmCode");
    std::string moved = designerPart;
    moved.replace(moved.find("cmdGo"), 5, "cmdGone");
    writeFile(temp / "code.frm", moved + codePart);
    auto go = changed->Designer()->VBControls().Item(1);
    EXPECT_EQ(go->name(), "cmdGo"); // the summary of what was read
    try {
        go->Properties();
        FAIL() << "a changed block gave properties";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), vberr::FormControlsUnreadable);
        EXPECT_NE(error.description().find("code.frm"), std::string::npos);
    }
    EXPECT_EQ(other->save(), 0);
    EXPECT_EQ(readFile(temp / "code.frm"), moved + codePart);
}

TEST(DesignerPartTest, TheDesignersPopupHelpFlagIsReadWithoutBuildingThePropertySets) {
    TempDir temp;
    std::string withFlag = designerPart;
    withFlag.insert(withFlag.find("   Caption         =   \"Code\""), "   WhatsThisHelp   =   -1  'True\r\n");
    auto project = VBProject::open(writeProject(temp, withFlag + codePart));
    auto component = project->VBComponents().Item("frmCode");
    // Another program changes the designer block: the property sets can no longer be built,
    // but the flag and the context numbers come from what was read.
    writeFile(temp / "code.frm", designerPart + codePart);
    EXPECT_EQ(component->whatsThisHelp(), Variant(true));
    EXPECT_EQ(component->Designer()->VBControls().Item(1)->whatsThisHelpID(), 5);
    EXPECT_THROW(component->Properties(), VbError);

    // A form without the line has the type's default; once the sets are built, a change made
    // through them is what the flag says.
    TempDir other;
    auto plain = VBProject::open(writeProject(other, designerPart + codePart));
    auto form = plain->VBComponents().Item("frmCode");
    EXPECT_EQ(form->whatsThisHelp(), Variant(false));
    form->Properties().Item("WhatsThisHelp").SetValue(Variant(true));
    EXPECT_EQ(form->whatsThisHelp(), Variant(true));
}
