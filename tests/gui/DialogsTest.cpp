// The editor's dialogs in the desktop program, answered as a user answers them: the options,
// the languages with the primary language, and the spell checker's question; afterwards the
// editor is closed with the close box and the saved help data shows what the dialogs changed.
#include "gui/GuiTestSupport.h"

#include "app/views/FormWindow.h"
#include "app/views/ToolbarView.h"
#include "controls/SpellDialog.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>


namespace corvane::test {

namespace {

template <typename Widget> Widget* viewOf(app::FormWindow& window, const std::string& control) {
    auto* widget = qobject_cast<Widget*>(window.view(control));
    if (!widget)
        ADD_FAILURE() << "no view of " << control;
    return widget;
}

void clickButton(app::FormWindow& window, const std::string& control) {
    if (auto* button = viewOf<QPushButton>(window, control))
        clickAt(button);
}

// Clicks the items of a multi-select list whose selection differs from `wanted`.
void selectExactly(QListWidget& list, const QStringList& wanted) {
    for (int i = 0; i < list.count(); ++i) {
        QListWidgetItem* item = list.item(i);
        if (item->isSelected() != wanted.contains(item->text()))
            clickAt(list.viewport(), list.visualItemRect(item).center());
    }
}

} // namespace

TEST(Dialogs, UserAnswersOptionsLanguagesAndSpellCheckThenClosesTheEditor) {
    GuiFixture fixture;
    app::ToolbarView* toolbar = fixture.openEditor();
    ASSERT_NE(toolbar, nullptr);
    app::GuiSession& session = fixture.session();
    FrmWizard* editor = session.addin().editor();
    app::FormWindow* window = session.windows().window(*editor);
    ModMain& settings = session.addin().modMain();
    ASSERT_TRUE(settings.mGenerateWinHelp);
    ASSERT_TRUE(settings.mGenerateHTML);

    // Options: the user unticks the WinHelp format and clicks OK.
    bool optionsShown = false;
    answerWhenShown(session.windows(), "frmOptions", [&](app::FormWindow& options) {
        optionsShown = true;
        auto* winHelp = viewOf<QCheckBox>(options, "chkGenerateWinHelp");
        if (winHelp) {
            EXPECT_TRUE(winHelp->isChecked());
            clickAt(winHelp);
            EXPECT_FALSE(winHelp->isChecked());
        }
        clickButton(options, "cmdOk");
    });
    ASSERT_NE(toolbar->button("options"), nullptr);
    clickAt(toolbar->button("options"));
    EXPECT_TRUE(optionsShown);
    EXPECT_FALSE(settings.mGenerateWinHelp);
    EXPECT_TRUE(settings.mGenerateHTML);
    EXPECT_EQ(session.windows().window("frmOptions"), nullptr);

    // The spell check of the current item: the user picks the suggestion and clicks Change.
    editor->lbxModules().SetListIndex(0);
    editor->Grid().SetRow(0);
    auto* helpText = qobject_cast<QPlainTextEdit*>(window->view("txtHelpText"));
    ASSERT_NE(helpText, nullptr);
    helpText->setFocus();
    QTest::keyClick(helpText, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(helpText, QStringLiteral("Saves the ordre now."));
    ASSERT_EQ(editor->txtHelpText().Text(), "Saves the ordre now.");
    std::string asked;
    answerWhenShown(session.windows(), "SpellDialog", [&](app::FormWindow& dialog) {
        asked = static_cast<controls::SpellDialog&>(dialog.form()).Word();
        auto* suggestions = viewOf<QListWidget>(dialog, "lstSuggestions");
        if (suggestions) {
            auto order = suggestions->findItems(QStringLiteral("order"), Qt::MatchExactly);
            if (!order.isEmpty())
                clickAt(suggestions->viewport(), suggestions->visualItemRect(order.front()).center());
            else
                ADD_FAILURE() << "no suggestion \"order\"";
        }
        clickButton(dialog, "cmdChange");
    });
    editor->SetSpellType("sc_currentitem");
    QToolButton* spell = toolbar->button("spellcheck");
    if (spell)
        clickAt(spell, {spell->width() / 4, spell->height() / 2});
    else
        editor->ActiveBar().clickTool(editor->ActiveBar().Bands("Main Band").Tools().Item("spellcheck"));
    EXPECT_EQ(asked, "ordre");
    EXPECT_EQ(editor->txtHelpText().Text(), "Saves the order now.");
    EXPECT_EQ(helpText->toPlainText(), QStringLiteral("Saves the order now."));

    // Languages: English and French instead of English and German; French is the primary one.
    answerWhenShown(session.windows(), "frmSelectLanguages", [&](app::FormWindow& languages) {
        if (auto* list = viewOf<QListWidget>(languages, "lbxLanguages"))
            selectExactly(*list, {QStringLiteral("English"), QStringLiteral("French")});
        answerWhenShown(session.windows(), "frmPrimaryLanguage", [&](app::FormWindow& primary) {
            if (auto* combo = viewOf<QComboBox>(primary, "cboLanguages")) {
                EXPECT_EQ(combo->count(), 2);
                int french = combo->findText(QStringLiteral("French"));
                EXPECT_GE(french, 0);
                combo->setFocus();
                for (int i = 0; i < 4 && combo->currentIndex() != french; ++i)
                    QTest::keyClick(combo, combo->currentIndex() < french ? Qt::Key_Down : Qt::Key_Up);
            }
            clickButton(primary, "cmdOk");
        });
        clickButton(languages, "cmdOk");
    });
    // The language tool has a picture and a tip but no caption: it shows the picture only.
    QToolButton* languageTool = toolbar->button("languageoptions");
    ASSERT_NE(languageTool, nullptr);
    EXPECT_EQ(languageTool->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_FALSE(languageTool->text().isEmpty());
    EXPECT_NE(languageTool->text(), QStringLiteral("languageoptions"));
    clickAt(languageTool);
    EXPECT_EQ(settings.mPrimaryLanguage, "French");
    ASSERT_TRUE(settings.SelectedLanguages);
    EXPECT_EQ(settings.SelectedLanguages->Count(), 2);
    EXPECT_TRUE(settings.SelectedLanguages->Contains("English"));
    EXPECT_TRUE(settings.SelectedLanguages->Contains("French"));
    QComboBox* combo = toolbar->combo("selectedlanguage");
    ASSERT_NE(combo, nullptr);
    EXPECT_GE(combo->findText(QStringLiteral("French")), 0);
    EXPECT_LT(combo->findText(QStringLiteral("German")), 0);

    // The close box saves what the dialogs changed.
    window->close();
    ASSERT_TRUE(waitFor([&] { return !editor->loaded(); }));
    std::string saved = readFile(fixture.project().parent_path() / "ContextHelp.txt");
    EXPECT_NE(saved.find("PrimaryLanguage=\"French\""), std::string::npos);
    EXPECT_NE(saved.find("GenerateWinHelp=\"False\""), std::string::npos);
    EXPECT_NE(saved.find("GenerateHTML=\"True\""), std::string::npos);
    EXPECT_NE(saved.find("<SelectedLanguage Name=\"French\" />"), std::string::npos);
    EXPECT_EQ(saved.find("<SelectedLanguage Name=\"German\" />"), std::string::npos);
    EXPECT_NE(saved.find(">Saves the order now.<"), std::string::npos);
    EXPECT_TRUE(fixture.reports().empty());
}

} // namespace corvane::test
