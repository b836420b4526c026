// Projects saved on Windows of other code pages (made with iconv) in the desktop program: the
// editor's module list and grid show their names and captions right, the layout preview draws
// them right, and the code page chosen in the options dialog reads the project again at once,
// keeping the help text stored under the names of the earlier reading.
#include "gui/GuiTestSupport.h"

#include "app/views/CaptionLabel.h"
#include "app/views/GridItemModel.h"
#include "app/views/GridView.h"
#include "app/views/ToolbarView.h"
#include "editor/FrmWizard.h"
#include "editor/HelpGridColumn.h"
#include "preview/SketchBuilder.h"
#include "settings/ModMain.h"
#include "testsupport/CodePageProjects.h"
#include "testsupport/TreeFiles.h"
#include "text/TextCodec.h"
#include "vbide/VBProject.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

#include <set>

namespace corvane::test {

namespace {

// The texts of a grid column as the table view shows them.
std::set<std::string> shownColumn(app::FormWindow& window, int16_t gridColumn) {
    auto* grid = dynamic_cast<app::GridView*>(window.view("Grid"));
    std::set<std::string> texts;
    if (!grid) {
        ADD_FAILURE() << "no grid";
        return texts;
    }
    QAbstractItemModel* model = grid->table()->model();
    const int column = grid->model()->modelColumn(gridColumn);
    for (int row = 0; row < model->rowCount(); ++row)
        texts.insert(model->index(row, column).data().toString().toStdString());
    return texts;
}

// A VB caption as its control shows it (and the grid's Caption column with it): no "&" marks.
std::string shownCaption(const std::string& caption) {
    return app::CaptionLabel::shownText(QString::fromStdString(caption)).toStdString();
}

// Clicks "frmMain" in the editor's module list, as the user does to see its controls.
void clickMainForm(app::FormWindow& window) {
    auto* modules = qobject_cast<QListWidget*>(window.view("lbxModules"));
    ASSERT_NE(modules, nullptr);
    auto found = modules->findItems(QStringLiteral("frmMain"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    clickAt(modules->viewport(), modules->visualItemRect(found.front()).center());
}

app::FormWindow* openedEditor(GuiFixture& fixture, const std::filesystem::path& vbp) {
    if (!fixture.session().edit(vbp))
        return nullptr;
    FrmWizard* editor = fixture.session().addin().editor();
    return editor ? fixture.session().windows().window(*editor) : nullptr;
}

} // namespace

TEST(CodePageEditor, TheEditorAndThePreviewShowEveryCodePagesTextsRight) {
    std::vector<CodePageProject> samples = codePageProjects();
    samples.push_back(doubleByteNamesProject());
    for (const CodePageProject& sample : samples) {
        SCOPED_TRACE(sample.language + " " + std::to_string(sample.codePage));
        GuiFixture fixture;
        const auto vbp = writeCodePageProject(sample, fixture.dir() / "project");
        // Where the files alone leave doubt (a few accented Latin words), the project's help
        // language settles it, as its data file states.
        if (vbide::VBProject::open(vbp)->codePage() != sample.codePage)
            writeFile(fixture.dir() / "project" / "ContextHelp.txt",
                      "<Root CurrentLanguage=\"" + sample.language + "\" PrimaryLanguage=\"" + sample.language +
                          "\"><SelectedLanguage Name=\"" + sample.language + "\"/></Root>\n");
        app::FormWindow* window = openedEditor(fixture, vbp);
        ASSERT_NE(window, nullptr);
        auto* modules = qobject_cast<QListWidget*>(window->view("lbxModules"));
        ASSERT_NE(modules, nullptr);
        ASSERT_EQ(modules->count(), 1);
        EXPECT_EQ(modules->item(0)->text().toStdString(), "frmMain");
        clickMainForm(*window);
        const std::set<std::string> names = shownColumn(*window, HelpGridColumn::ControlName);
        EXPECT_TRUE(names.contains(sample.cancelName));
        const std::set<std::string> captions = shownColumn(*window, HelpGridColumn::Caption);
        for (const std::string& caption : {sample.openCaption, sample.cancelCaption, sample.labelCaption})
            EXPECT_TRUE(captions.contains(shownCaption(caption))) << caption;
        EXPECT_TRUE(fixture.reports().empty());
        EXPECT_TRUE(fixture.messages().empty());

        // The preview's sketch of the form: its caption and the label's text from the .frx file.
        auto project = fixture.session().addin().editor()->VBP();
        preview::FormSketch sketch = preview::SketchBuilder(project.get()).build(*project->VBComponents().Item("frmMain"));
        EXPECT_EQ(sketch.caption, sample.formCaption);
        bool labelDrawn = false;
        for (const preview::SketchItem& item : sketch.items)
            labelDrawn = labelDrawn || (item.key == "lblAddress" && item.caption == sample.labelCaption);
        EXPECT_TRUE(labelDrawn);
    }
}

TEST(CodePageEditor, PreviewCommandDrawsADoubleByteNamedProject) {
    GuiFixture fixture;
    const CodePageProject& sample = doubleByteNamesProject();
    const auto vbp = writeCodePageProject(sample, fixture.dir() / "project");
    const auto picture = fixture.dir() / "frmMain.png";
    ToolRun run = runCorvane("preview \"" + vbp.string() + "\" --module frmMain -o \"" + picture.string() + "\"");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(std::filesystem::exists(picture));
}

TEST(CodePageEditor, TheCodePageChosenInTheOptionsReadsTheProjectAgainAndKeepsItsHelpText) {
    GuiFixture fixture;
    const CodePageProject& sample = doubleByteNamesProject();
    const auto vbp = writeCodePageProject(sample, fixture.dir() / "project");
    // Stored by an earlier version that read the project as Windows-1252: the keys as that
    // reading spelled them, and that code page chosen.
    const std::string earlierName = decodeCodePage(encodeCodePage(sample.cancelName, 932), 1252);
    writeFile(fixture.dir() / "project" / "ContextHelp.txt",
              "<Root CurrentLanguage=\"Japanese\" PrimaryLanguage=\"Japanese\" GenerateHTML=\"True\" "
              "CompileHTML=\"True\" GenerateWinHelp=\"False\" CompileWinHelp=\"False\" CodePage=\"1252\">"
              "<SelectedLanguage Name=\"Japanese\"/><VBComponent ComponentName=\"frmMain\"><HelpItem "
              "ComponentName=\"frmMain\" ControlName=\"" + earlierName + "\" ContextHelpID=\"0\" "
              "ControlType=\"CommandButton\" Caption=\"\"><HelpText Language=\"Japanese\">Kept</HelpText>"
              "</HelpItem></VBComponent></Root>\n");
    app::FormWindow* window = openedEditor(fixture, vbp);
    ASSERT_NE(window, nullptr);
    clickMainForm(*window);
    EXPECT_TRUE(shownColumn(*window, HelpGridColumn::ControlName).contains(earlierName));
    app::GuiSession& session = fixture.session();
    ModMain& settings = session.addin().modMain();
    ASSERT_EQ(settings.codePage, 1252);

    // The user chooses Japanese in the options dialog and clicks OK.
    answerWhenShown(session.windows(), "frmOptions", [&](app::FormWindow& options) {
        auto* list = qobject_cast<QComboBox*>(options.view("cboCodePage"));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->currentText().toStdString(), "1252 Western European");
        const int japanese = list->findText(QStringLiteral("932 Japanese"));
        ASSERT_GE(japanese, 0);
        list->setFocus();
        for (int i = 0; i < list->count() && list->currentIndex() != japanese; ++i)
            QTest::keyClick(list, list->currentIndex() < japanese ? Qt::Key_Down : Qt::Key_Up);
        EXPECT_EQ(list->currentIndex(), japanese);
        if (auto* ok = qobject_cast<QPushButton*>(options.view("cmdOk")))
            clickAt(ok);
    });
    auto* toolbar = window->findChild<app::ToolbarView*>();
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(toolbar->button("options"), nullptr);
    clickAt(toolbar->button("options"));
    FrmWizard* editor = session.addin().editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(settings.codePage, 932);
    EXPECT_EQ(editor->VBP()->codePage(), 932);
    window = session.windows().window(*editor);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(shownColumn(*window, HelpGridColumn::ControlName).contains(sample.cancelName));
    EXPECT_TRUE(shownColumn(*window, HelpGridColumn::Caption).contains(shownCaption(sample.cancelCaption)));
    // The record stored under the earlier spelling is the control's, with its text.
    auto records = editor->formsData()->Item("frmMain");
    ASSERT_TRUE(records->Contains(sample.cancelName));
    EXPECT_EQ(records->Item(sample.cancelName)->GetHelpText("Japanese"), "Kept");
    EXPECT_FALSE(records->Contains(earlierName));
    EXPECT_TRUE(fixture.reports().empty());
}

} // namespace corvane::test
