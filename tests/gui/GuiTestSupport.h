// Helpers of the desktop program's tests: one QApplication for the test program (offscreen
// unless a display is asked for), a session over a copy of the example project with its
// own registry and data folder, and ways to act on widgets as the user does.
#pragma once

#include "app/host/GuiProgram.h"
#include "app/views/FormWindow.h"
#include "app/views/ToolbarView.h"
#include "testsupport/TempDir.h"

#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvane::test {

// Makes the test program's QApplication once.
void ensureApplication();
// Lets the event loop run until `done` or five seconds have passed; returns done(). This is
// the wait of Qt Test's QTRY_* checks, for use under Google Test's: a failed QTRY_VERIFY
// reports to Qt Test's own log, which a Google Test program never reads, and would pass.
bool waitFor(const std::function<bool()>& done);
// Counts the paint events a widget receives from its making on, so that a test can wait until
// the widget has been drawn again after a change.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    // The paint events so far.
    int paints() const { return paints_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int paints_ = 0;
};
// Clicks a widget at a point (its centre when null), as the mouse does.
void clickAt(QWidget* widget, QPoint point = {});

// Runs `answer` on the window of form `formName` as soon as it is shown, from inside the modal
// loop that the next user action enters; ends the program if the window never comes.
void answerWhenShown(app::QtWindowSystem& windows, std::string formName, std::function<void(app::FormWindow&)> answer);

class GuiFixture;
// Puts the build's compiled help file "corvane.chm" into the fixture's data folder; false
// when the build has none.
bool installHelpFile(const GuiFixture& fixture);

// A temporary folder with a copy of the example project, its own registry file and data
// folder (languages English, German, French), and a desktop session over them.
class GuiFixture {
public:
    GuiFixture();
    ~GuiFixture();

    // The copied project file.
    const std::filesystem::path& project() const { return project_; }
    // The temporary folder.
    const TempDir& dir() const { return dir_; }
    // The session (made on first use, after the environment is set).
    app::GuiSession& session();
    // The error reports made (the dialog is answered Ignore) and the message boxes shown
    // (answered with the first button's affirmative answer), oldest first.
    const std::vector<std::string>& reports() const { return reports_; }
    const std::vector<std::string>& messages() const { return messages_; }
    // Opens the copied project in the editor, as the add-in's menu command does; the toolbar of
    // the editor's window, or null (with the failure recorded) when something did not open.
    app::ToolbarView* openEditor();
    // A registry value of the current user ("" when missing).
    std::string registryValue(const std::string& key, const std::string& name) const;

private:
    TempDir dir_;
    std::filesystem::path project_;
    std::unique_ptr<app::GuiSession> session_;
    std::vector<std::string> reports_;
    std::vector<std::string> messages_;
};

} // namespace corvane::test
