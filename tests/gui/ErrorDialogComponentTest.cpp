// The error-report component of the desktop program: the user's choice becomes the answer
// the program acts on, and every report is recorded in the error log with that answer.
#include "gui/GuiTestSupport.h"

#include "addin/ComponentRegistry.h"
#include "addin/ErrorReport.h"
#include "app/host/ErrorDialogComponent.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <sstream>

namespace corvane::test {

TEST(ErrorDialogComponent, AnswersTheUsersChoiceAndRecordsEachReport) {
    ensureApplication();
    TempDir dir;
    std::ostringstream notices;
    auto log = std::make_shared<HeadlessErrorSettings>();
    log->logFile = dir / "errors.log";
    log->notices = &notices;
    std::vector<app::ErrorChoice> choices{app::ErrorChoice::Retry, app::ErrorChoice::Ignore, app::ErrorChoice::Abort};
    std::vector<std::string> shown;
    ScopedComponentRegistration restore(ErrorComponentId, nullptr);
    app::registerErrorDialogComponent(log, [&](const std::string& report) {
        shown.push_back(report);
        app::ErrorChoice choice = choices.front();
        choices.erase(choices.begin());
        return choice;
    });

    std::vector<std::string> answers;
    for (int i = 0; i < 3; ++i) {
        int32_t number = 53, line = 12;
        answers.push_back(ReportError(number, "modWizard", "GetResString", "File not found", line, "<a>1</a>\r\n", "", ""));
    }
    EXPECT_EQ(answers, (std::vector<std::string>{"Retry", "RetryNext", ""}));
    ASSERT_EQ(shown.size(), 3u);
    // One plain sentence leads; the details follow.
    EXPECT_EQ(shown[0].rfind("Corvane could not finish what it was doing: File not found.\r\n\r\n"
                             "Error 53 in modWizard.GetResString, line 12:\r\nFile not found\r\n",
                             0),
              0u)
        << shown[0];
    EXPECT_NE(shown[0].find("<a>1</a>"), std::string::npos);

    // The log holds the three reports, each with the answer given.
    std::string written = readFile(dir / "errors.log");
    size_t reports = 0;
    for (size_t at = written.find("GetResString"); at != std::string::npos; at = written.find("GetResString", at + 1))
        ++reports;
    EXPECT_EQ(reports, 3u) << written;
    EXPECT_NE(written.find("RetryNext"), std::string::npos);
    EXPECT_TRUE(log->scriptedAnswers.empty());
}

TEST(ErrorDialogComponent, OneAbortStopsTheWholeActionWithoutAskingAgain) {
    ensureApplication();
    TempDir dir;
    std::ostringstream notices;
    auto log = std::make_shared<HeadlessErrorSettings>();
    log->logFile = dir / "errors.log";
    log->notices = &notices;
    std::vector<std::string> asked;
    ScopedComponentRegistration restore(ErrorComponentId, nullptr);
    app::registerErrorDialogComponent(log, [&](const std::string& report) {
        asked.push_back(report);
        return app::ErrorChoice::Abort;
    });
    int32_t number = 75, line = 112;
    EXPECT_EQ(ReportError(number, "frmWizard", "ExitApp", "Path/File access error", line, "", "", ""), "");
    // The abort passes out through the caller: logged, answered Abort, not asked.
    int32_t passed = 65535, callerLine = 3;
    EXPECT_EQ(ReportError(passed, "frmWizard", "timExitApp_Timer", "error 75 in frmWizard.ExitApp: Path/File access error",
                          callerLine, "", "", ""),
              "");
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_NE(readFile(dir / "errors.log").find("timExitApp_Timer"), std::string::npos);
    // The next failure of its own is asked again.
    int32_t another = 53;
    ReportError(another, "modWizard", "GetResString", "File not found", line, "", "", "");
    EXPECT_EQ(asked.size(), 2u);
}

TEST(ErrorDialogComponent, TheDialogLeadsWithWhatFailedInOneSentence) {
    ensureApplication();
    TempDir dir;
    std::ostringstream notices;
    auto log = std::make_shared<HeadlessErrorSettings>();
    log->logFile = dir / "errors.log";
    log->notices = &notices;
    std::string sentence, details;
    ScopedComponentRegistration restore(ErrorComponentId, nullptr);
    app::registerErrorDialogComponent(log, [&](const std::string& report) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("sentence")))
                sentence = label->text().toStdString();
            if (auto* box = dialog->findChild<QPlainTextEdit*>())
                details = box->toPlainText().toStdString();
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->text().contains(QStringLiteral("Ignore")))
                    button->click();
        });
        return app::askWithDialog(report);
    });
    int32_t number = 75, line = 112;
    EXPECT_EQ(ReportError(number, "frmWizard", "ExitApp", "Path/File access error", line, "<a>1</a>\r\n", "", ""),
              "RetryNext");
    EXPECT_EQ(sentence, "Corvane could not save the help text: Path/File access error.");
    EXPECT_EQ(details.rfind("Error 75 in frmWizard.ExitApp, line 112:\nPath/File access error\n", 0), 0u) << details;
}

} // namespace corvane::test
