// The code page of a project's files, detected from all of them together and weighed with the
// code pages of its help languages: projects saved on Windows of thirteen code pages (made with
// iconv), Western texts that detection alone would misread, and a project read again in
// another code page.
#include "platform/Utf8Path.h"
#include "testsupport/CodePageProjects.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "text/TextCodec.h"
#include "vbide/ProjectCodePage.h"
#include "vbide/VBProject.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <iostream>

namespace corvane::vbide {
namespace {

namespace fs = std::filesystem;
using test::CodePageProject;

std::string textOf(VBControl& control, const char* property) {
    return control.Properties().Item(property).Value().toText();
}

// Checks every text the project's files hold as its language spells it.
void expectReadRight(VBProject& project, const CodePageProject& sample) {
    EXPECT_EQ(project.Name(), sample.projectName);
    auto form = project.VBComponents().Item("frmMain");
    EXPECT_EQ(form->Properties().Item("Caption").Value().toText(), sample.formCaption);
    auto& controls = form->Designer()->VBControls();
    ASSERT_EQ(controls.Count(), 4);
    EXPECT_EQ(textOf(*controls.Item(2), "Caption"), sample.labelCaption); // from the .frx file
    EXPECT_EQ(controls.Item(3)->name(), sample.cancelName);
    EXPECT_EQ(textOf(*controls.Item(3), "Caption"), sample.cancelCaption);
    EXPECT_EQ(textOf(*controls.Item(4), "Caption"), sample.openCaption);
    EXPECT_TRUE(form->warnings().empty()) << form->warnings().front().describe();
}

ProjectCodePage detectionOf(const std::string& utf8, int codePage) {
    ProjectCodePage detection;
    detection.addFile(encodeCodePage(utf8, codePage));
    detection.detect();
    return detection;
}

TEST(ProjectCodePage, EveryCodePagesProjectIsReadRightFromItsFilesItsHelpLanguageOrTheOption) {
    test::TempDir dir;
    std::vector<CodePageProject> samples = test::codePageProjects();
    samples.push_back(test::doubleByteNamesProject());
    for (const CodePageProject& sample : samples) {
        SCOPED_TRACE(sample.language + " " + std::to_string(sample.codePage) + " " + sample.projectName);
        auto vbp = test::writeCodePageProject(sample, dir / (std::to_string(sample.codePage) + sample.cancelName));
        auto project = VBProject::open(vbp);
        ASSERT_FALSE(project->codePageGiven());
        const ProjectCodePage& detection = *project->codePageDetection();
        // What detection found, for the record of the test run.
        std::cout << "[detection] " << sample.codePage << " " << sample.language << ": uchardet "
                  << detection.charset() << ", " << detection.evidence() << " bytes beyond ASCII, chose "
                  << project->codePage() << "\n";
        // The files alone: their code page, or where a few accented Latin words leave doubt
        // (Turkish and Lithuanian here), Western; never a third one.
        if (project->codePage() == sample.codePage)
            expectReadRight(*project, sample);
        else
            EXPECT_TRUE(project->codePage() == WindowsLatin1 && detection.evidence() < 16) << detection.charset();
        // With the project's help language stated, its code page.
        EXPECT_EQ(detection.choose({WindowsLatin1, sample.codePage}), sample.codePage);
        // The option gives the same reading.
        auto given = VBProject::open(vbp, sample.codePage);
        EXPECT_TRUE(given->codePageGiven());
        expectReadRight(*given, sample);
    }
}

TEST(ProjectCodePage, HelpLanguagesWeighInWhereTheFilesLeaveDoubt) {
    // Korean in few bytes is taken for Chinese; the project's Korean help settles it.
    ProjectCodePage korean = detectionOf("Caption = \"취소\"\nCaption = \"열기\"\n", 949);
    EXPECT_EQ(korean.choose({1252, 949}), 949);
    // A Western text that one accented word leaves in doubt stays Western, also beside a
    // Russian help language under which it would read as a mixture of scripts.
    ProjectCodePage spanish = detectionOf("Caption = \"Año\"\n", 1252);
    EXPECT_LT(spanish.evidence(), 16u);
    EXPECT_EQ(spanish.choose({}), 1252);
    EXPECT_EQ(spanish.choose({1252, 1251}), 1252);
    ProjectCodePage german = detectionOf("Caption = \"Müller\"\n", 1252);
    EXPECT_EQ(german.choose({1251}), 1252);
    // A Polish project of a few words takes its Polish help's code page.
    ProjectCodePage polish = detectionOf("Caption = \"Usuń\"\nCaption = \"Wyjście\"\n", 1250);
    EXPECT_EQ(polish.choose({1250, 1252}), 1250);
    // Many Western bytes stand against a stated language of another Latin code page.
    ProjectCodePage french = detectionOf(
        "' Créer la fenêtre, à côté de l'élément présenté; déjà vérifié, où était-il?\n"
        "Caption = \"Préférences générales\"\nCaption = \"Sélection élargie\"\n",
        1252);
    EXPECT_GE(french.evidence(), 16u);
    EXPECT_EQ(french.choose({1250}), 1252);
    // Plain ASCII says nothing: a stated language's code page, else Western.
    ProjectCodePage ascii = detectionOf("Caption = \"OK\"\n", 1252);
    EXPECT_EQ(ascii.evidence(), 0u);
    EXPECT_EQ(ascii.choose({}), 1252);
    EXPECT_EQ(ascii.choose({1252, 932}), 932);
}

TEST(ProjectCodePage, TheFilesAProjectNamesTellItsCodePageOrWhatWasTried) {
    test::TempDir dir;
    for (const test::FileNamesProject& sample : test::fileNamesProjects()) {
        SCOPED_TRACE(sample.formFile);
        auto vbp = test::writeFileNamesProject(sample, dir / std::to_string(sample.codePage));
        auto project = VBProject::open(vbp);
        EXPECT_EQ(project->codePage(), sample.codePage);
        EXPECT_EQ(project->codePageDetection()->references().references, 2u);
        auto form = project->VBComponents().Item("frmGame");
        EXPECT_EQ(form->FileNames(1), (vbp.parent_path() / platform::pathFromUtf8(sample.formFile)).string());
        ASSERT_EQ(form->Designer()->VBControls().Count(), 1);
        EXPECT_EQ(form->Designer()->VBControls().Item(1)->name(), "cmdStart");
        // The names stand against a help language of another code page, and take the stated one
        // where they leave a choice.
        EXPECT_EQ(project->codePageDetection()->choose({1252, 1251}), sample.codePage);
    }
    // A form that is missing under every reading: its failure names the code pages tried.
    const test::FileNamesProject& japanese = test::fileNamesProjects().front();
    auto vbp = test::writeFileNamesProject(japanese, dir / "missing");
    fs::remove(vbp.parent_path() / platform::pathFromUtf8(japanese.formFile));
    auto project = VBProject::open(vbp);
    EXPECT_EQ(project->codePage(), 932); // the module's name still tells
    const ReferenceCodePages& references = project->codePageDetection()->references();
    EXPECT_EQ(references.unresolved, std::vector<size_t>{0});
    try {
        project->VBComponents().Item(1)->Designer()->VBControls();
        ADD_FAILURE() << "a missing form read";
    } catch (const VbError& error) {
        EXPECT_EQ(error.description(),
                  "File not found: '" + (vbp.parent_path() / platform::pathFromUtf8(japanese.formFile)).string() +
                      "'; read in each of the code pages 1252, 932, 936, 949, 950, 874, 1250, 1251, 1253, 1254, "
                      "1255, 1256, 1257, 1258, its name names no file on disk: the file is missing, or the project "
                      "was saved in another code page (choose it with --codepage on the command line, or \"Code "
                      "page of the project's files\" in the options)");
    }
    // The module gone too: nothing tells; detection decides as before, and the advice stays.
    fs::remove(vbp.parent_path() / platform::pathFromUtf8(japanese.moduleFile));
    auto unknown = VBProject::open(vbp);
    EXPECT_FALSE(unknown->codePageDetection()->references().tell());
    EXPECT_EQ(unknown->codePageDetection()->references().unresolved, (std::vector<size_t>{0, 1}));
}

TEST(ProjectCodePage, WordsMixingScriptsAndControlCharactersReadAsImplausible) {
    EXPECT_EQ(implausibleSpots("Müller Straße 5, 取消(&X) txt住所"), 1u); // a Latin prefix on a CJK name counts
    EXPECT_EQ(implausibleSpots("M\xD1\x8Cller"), 1u);                        // "Mьller"
    EXPECT_EQ(implausibleSpots("a\xC2\x90z \xEF\xBF\xBD"), 2u);              // U+0090, U+FFFD
    EXPECT_EQ(implausibleSpots("Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t"), 0u);      // Vietnamese is Latin
    // Bytes a code page does not define make no reading at all.
    ProjectCodePage thai = detectionOf("ยา", 874); // 0xC2 0xD2: Windows-1253 leaves 0xD2 undefined
    EXPECT_TRUE(thai.implausibility(874).has_value());
    EXPECT_FALSE(thai.implausibility(1253).has_value());
}

TEST(ProjectCodePage, AProjectIsReadAgainInAnotherCodePageUnlessAComponentHasUnsavedChanges) {
    test::TempDir dir;
    const CodePageProject& sample = test::codePageProjects().at(1); // Japanese
    const auto vbp = test::writeCodePageProject(sample, dir.path());
    const std::string savedProjectFile = test::readFile(vbp);
    auto project = VBProject::open(vbp, 1252);
    EXPECT_NE(project->Name(), sample.projectName);
    // The project file's unsaved lines come along: the data file added as a related document,
    // the help file set from the name as the earlier code page read it.
    project->VBComponents().AddFile((dir / "ContextHelp.txt").string(), true);
    project->SetHelpFile(project->Name() + "_Context.chm");
    project->setCodePage(sample.codePage);
    EXPECT_EQ(project->codePage(), sample.codePage);
    expectReadRight(*project, sample);
    EXPECT_EQ(project->HelpFile(), sample.projectName + "_Context.chm");
    EXPECT_EQ(project->VBComponents().Count(), 3);
    ASSERT_TRUE(project->isDirty());
    EXPECT_EQ(test::readFile(vbp), savedProjectFile);
    project->save();
    const std::string written = test::readFile(vbp);
    EXPECT_NE(written.find("RelatedDoc=ContextHelp.txt\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("HelpFile=\"" + test::encodedWithIconv(sample.projectName, sample.iconvName) +
                           "_Context.chm\"\r\n"),
              std::string::npos);
    // A component's change not yet saved would be lost by reading again: refused, nothing changes.
    auto form = project->VBComponents().Item("frmMain");
    form->Designer()->VBControls().Item(4)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{7}));
    try {
        project->setCodePage(1252);
        ADD_FAILURE() << "read again over an unsaved change";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_NE(error.description().find("unsaved changes in 'frmMain'"), std::string::npos) << error.description();
    }
    EXPECT_EQ(project->codePage(), sample.codePage);
    EXPECT_TRUE(project->isDirty());
}

} // namespace
} // namespace corvane::vbide
