// QtHelpViewer: the help window of the desktop program. A top-level window with a text
// browser that shows a topic's HTML and follows its links inside the same help file; the
// pages, the stylesheet and the pictures come out of the help file, never from the disk.
#pragma once

#include "ownhelp/HelpViewer.h"

#include <QPointer>
#include <QTextBrowser>

class QToolBar;

namespace corvane::app {

// The browser of the help window: loads every resource through the topic's help file.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    // The URL scheme of pages inside the help file ("chm:/editor.html").
    static constexpr const char* Scheme = "chm";

    explicit HelpBrowser(QWidget* parent = nullptr);
    // The topic whose help file the links are read from.
    void setTopic(const HelpTopic& topic) { topic_ = topic; }
    // The URL of a path inside the help file, with its anchor ("" when none).
    static QUrl urlOf(const std::string& path, const std::string& anchor = {});
    // The bytes of a page, stylesheet or picture of the help file (null when missing).
    QVariant loadResource(int type, const QUrl& name) override;

private:
    HelpTopic topic_;
};

class QtHelpViewer : public HelpViewer {
public:
    QtHelpViewer();
    ~QtHelpViewer() override;
    QtHelpViewer(const QtHelpViewer&) = delete;
    QtHelpViewer& operator=(const QtHelpViewer&) = delete;

    // Shows the topic in the window (made on first use) and brings the window up.
    void showTopic(const HelpTopic& topic) override;
    // Shows the message as plain text in the window.
    void showMessage(const HelpMessage& message) override;

    // The window (null until something was shown).
    QWidget* window() const { return window_; }
    // The window's browser (null until something was shown).
    HelpBrowser* browser() const { return browser_; }
    // The window's toolbar of Back, Forward and Home (null until something was shown).
    QToolBar* toolbar() const { return toolbar_; }

private:
    void ensureWindow();
    void bringUp();
    void placeOnScreen();
    void updateTitle();

    QPointer<QWidget> window_;
    HelpBrowser* browser_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    bool showingMessage_ = false;
};

} // namespace corvane::app
