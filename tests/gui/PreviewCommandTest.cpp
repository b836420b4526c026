// `corvane preview` run as the real program, without a display: the picture it writes shows
// the form's controls, those with and without help text apart.
#include "gui/GuiTestSupport.h"

#include "app/preview/SketchPainter.h"
#include "preview/SketchBuilder.h"
#include "testsupport/TreeFiles.h"
#include "vbide/VBProject.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

std::string quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

// Runs the program with arguments; returns its exit status, its output in `output`.
int runCorvane(const std::string& arguments, std::string& output) {
    ToolRun run = test::runCorvane(arguments);
    output = run.output;
    return run.status;
}

// The colour of the picture a little inside a control's top left corner (off its caption).
QColor insideCorner(const QImage& image, const preview::FormSketch& sketch, const std::string& key) {
    for (const preview::SketchItem& item : sketch.items)
        if (item.key == key) {
            QPointF corner = app::SketchLayout(sketch).toPicture(QPointF(item.rect.x, item.rect.y));
            return image.pixelColor(static_cast<int>(corner.x()) + 2, static_cast<int>(corner.y()) + 2);
        }
    ADD_FAILURE() << "no control " << key;
    return {};
}

} // namespace

TEST(PreviewCommand, DrawsTheFormWithHelpTextCoverage) {
    GuiFixture fixture; // the project copy, its own registry and data folder
    auto picture = fixture.dir() / "frmOrder.png";
    std::string output;
    ASSERT_EQ(runCorvane("preview " + quoted(fixture.project()) + " --module frmOrder -o " + quoted(picture), output), 0)
        << output;
    QImage image(QString::fromStdString(picture.string()));
    ASSERT_FALSE(image.isNull());

    auto project = vbide::VBProject::open(fixture.project());
    preview::FormSketch sketch = preview::SketchBuilder(project.get()).build(*project->VBComponents().Item("frmOrder"));
    QPointF empty = app::SketchLayout(sketch).toPicture(QPointF(sketch.clientWidth - 3, sketch.clientHeight - 3));
    QColor background = image.pixelColor(empty.toPoint());
    QColor withText = insideCorner(image, sketch, "cboCustomer");   // has English help text
    QColor withoutText = insideCorner(image, sketch, "lblCustomer"); // has none
    EXPECT_NE(withText, background);
    EXPECT_NE(withoutText, background);
    EXPECT_NE(withText, withoutText);
    EXPECT_EQ(insideCorner(image, sketch, "cmdFindCustomer"), withText);
    EXPECT_EQ(insideCorner(image, sketch, "txtNotes"), withText);
    EXPECT_GT(withText.green(), withText.red());
    EXPECT_GT(withoutText.red(), withoutText.green());
    // The command changed nothing of the project.
    EXPECT_FALSE(std::filesystem::exists(fixture.project().parent_path() / "ContextHelp.txt.damaged"));
}

TEST(PreviewCommand, RefusesUnknownModulesAndLanguagesAndSaysWhy) {
    GuiFixture fixture;
    auto picture = fixture.dir() / "none.png";
    std::string output;
    EXPECT_EQ(runCorvane("preview " + quoted(fixture.project()) + " --module modMain -o " + quoted(picture), output), 2);
    EXPECT_NE(output.find("frmOrder"), std::string::npos) << output; // the modules it has
    EXPECT_EQ(runCorvane("preview " + quoted(fixture.project()) + " --module frmOrder --language Klingon -o " +
                             quoted(picture),
                         output),
              2);
    EXPECT_NE(output.find("Klingon"), std::string::npos) << output;
    EXPECT_EQ(runCorvane("preview " + quoted(fixture.project()), output), 2);
    EXPECT_FALSE(std::filesystem::exists(picture));

    // A designer that cannot be read still gives a picture, which says so.
    writeFile(fixture.project().parent_path() / "frmAbout.frm", "VERSION 5.00\r\nBegin VB.Form frmAbout\r\n");
    EXPECT_EQ(runCorvane("preview " + quoted(fixture.project()) + " --module frmAbout -o " + quoted(picture), output), 1);
    EXPECT_NE(output.find("cannot be shown"), std::string::npos) << output;
    EXPECT_FALSE(QImage(QString::fromStdString(picture.string())).isNull());
}

} // namespace corvane::test
