// The help window of the desktop program: topics out of the program's own help file, their
// stylesheet and links, messages for a missing topic, and the editor's Contents tool.
#include "gui/GuiTestSupport.h"

#include "app/host/QtHelpViewer.h"
#include "app/views/FormWindow.h"
#include "app/views/ToolbarView.h"
#include "editor/FrmWizard.h"
#include "ownhelp/ChmArchive.h"
#include "ownhelp/HelpTopic.h"
#include "ownhelp/ModHTMLHelp.h"

#include <QScreen>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

namespace fs = std::filesystem;

// The point in the browser's viewport where the link to `href` is drawn (null when none).
QPoint linkPoint(QTextBrowser& browser, const QString& href) {
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser.document());
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            return browser.cursorRect(cursor).center();
        }
    return {};
}

QString pageTitle(const std::string& html) {
    return QString::fromStdString(htmlTitle(html));
}

} // namespace

TEST(HelpViewer, ShowsTopicsWithTheirStylesheetFollowsLinksAndShowsMessages) {
    GuiFixture fixture;
    ASSERT_TRUE(installHelpFile(fixture)) << "the build has no corvane.chm";
    app::GuiSession& session = fixture.session();
    app::QtHelpViewer& viewer = session.helpViewer();
    EXPECT_EQ(&HelpViewer::current(), &viewer);
    EXPECT_EQ(viewer.window(), nullptr);

    HTMLShowTopic(1, "Default", "gettingstarted.html");
    ASSERT_NE(viewer.window(), nullptr);
    EXPECT_TRUE(viewer.window()->isVisible());
    EXPECT_TRUE(viewer.window()->isWindow());
    app::HelpBrowser& browser = *viewer.browser();
    EXPECT_EQ(browser.documentTitle(), QStringLiteral("Getting started with Corvane"));
    EXPECT_EQ(viewer.window()->windowTitle(), QStringLiteral("Getting started with Corvane - Corvane Help"));
    // The window lies wholly on the screen, and the page names folders as this system does.
    const QRect screen = viewer.window()->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(viewer.window()->frameGeometry()));
#ifdef _WIN32
    EXPECT_TRUE(browser.toPlainText().contains(QStringLiteral("Corvane\\<Language>\\")));
#else
    EXPECT_TRUE(browser.toPlainText().contains(QStringLiteral("Corvane/<Language>/")));
    EXPECT_FALSE(browser.toPlainText().contains(QLatin1Char('\\')));
#endif
    EXPECT_TRUE(browser.toPlainText().contains(QStringLiteral("Choose Add-Ins > Corvane ...")));
    EXPECT_EQ(browser.source(), QUrl(QStringLiteral("chm:/gettingstarted.html")));

    // The stylesheet and the linked pages come out of the help file, byte for byte.
    ChmArchive archive(fixture.dir() / "data" / "corvane.chm");
    QVariant css = browser.loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("chm:/style.css")));
    EXPECT_EQ(css.toByteArray().toStdString(), archive.read("/style.css").value_or("?"));
    EXPECT_FALSE(browser.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("chm:/nosuch.png"))).isValid());
    // Nothing is read from the disk, even where a file of that name lies.
    EXPECT_FALSE(browser.loadResource(QTextDocument::StyleSheetResource,
                                      QUrl::fromLocalFile(QString::fromStdString((fixture.dir() / "registry.reg").string())))
                     .isValid());

    // The user clicks the link to the editor page: the browser shows it and Back returns.
    QPoint link = linkPoint(browser, QStringLiteral("editor.html"));
    ASSERT_FALSE(link.isNull());
    clickAt(browser.viewport(), link);
    ASSERT_TRUE(waitFor([&] { return browser.source().path() == QStringLiteral("/editor.html"); }));
    EXPECT_EQ(browser.source(), QUrl(QStringLiteral("chm:/editor.html")));
    EXPECT_EQ(browser.documentTitle(), pageTitle(archive.read("/editor.html").value_or("")));
    EXPECT_TRUE(viewer.window()->windowTitle().startsWith(browser.documentTitle()));
    ASSERT_TRUE(browser.isBackwardAvailable());
    QAction* back = viewer.toolbar()->actions().value(0);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_EQ(browser.source(), QUrl(QStringLiteral("chm:/gettingstarted.html")));

    // A missing topic: its message, as plain text, in the same window.
    HTMLShowTopic(1, "Default", "nosuch.html");
    std::string file = (fixture.dir() / "data" / "corvane.chm").string();
    EXPECT_EQ(browser.toPlainText().toStdString(),
              "The topic \"nosuch.html\" was not found in the help file \"" + file + "\".");
    EXPECT_EQ(viewer.window()->windowTitle(), QStringLiteral("Corvane Help"));
    EXPECT_FALSE(browser.isBackwardAvailable());

    // A topic with an anchor, and the same topic again after the message.
    HTMLShowTopic(1, "Default", "/languages.html#primary");
    EXPECT_EQ(browser.source(), QUrl(QStringLiteral("chm:/languages.html#primary")));
    EXPECT_EQ(browser.documentTitle(), QStringLiteral("Languages"));
    HTMLShowTopic(1, "Default", "nosuch.html");
    HTMLShowTopic(1, "Default", "/languages.html#primary");
    EXPECT_EQ(browser.documentTitle(), QStringLiteral("Languages"));
    EXPECT_FALSE(browser.toPlainText().contains(QStringLiteral("nosuch.html")));
    EXPECT_TRUE(fixture.reports().empty());
}

TEST(HelpViewer, AMissingHelpFileShowsItsMessage) {
    GuiFixture fixture; // no corvane.chm in the data folder
    app::GuiSession& session = fixture.session();
    HTMLShowTopic(1, "Default", "gettingstarted.html");
    ASSERT_NE(session.helpViewer().browser(), nullptr);
    std::string file = (fixture.dir() / "data" / "corvane.chm").string();
    EXPECT_EQ(session.helpViewer().browser()->toPlainText().toStdString(),
              "The help file \"" + file + "\" was not found.");
    EXPECT_TRUE(session.helpViewer().window()->isVisible());
}

TEST(HelpViewer, TheEditorsContentsToolShowsGettingStarted) {
    GuiFixture fixture;
    ASSERT_TRUE(installHelpFile(fixture)) << "the build has no corvane.chm";
    app::ToolbarView* toolbar = fixture.openEditor();
    ASSERT_NE(toolbar, nullptr);
    app::GuiSession& session = fixture.session();
    FrmWizard* editor = session.addin().editor();
    QToolButton* contents = toolbar->button("helpcontents");
    if (contents)
        clickAt(contents);
    else
        editor->ActiveBar().clickTool(editor->ActiveBar().Bands("Main Band").Tools().Item("helpcontents"));
    ASSERT_NE(session.helpViewer().window(), nullptr);
    EXPECT_TRUE(session.helpViewer().window()->isVisible());
    EXPECT_EQ(session.helpViewer().browser()->documentTitle(), QStringLiteral("Getting started with Corvane"));
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

} // namespace corvane::test
