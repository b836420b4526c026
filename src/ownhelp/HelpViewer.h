// HelpViewer: the window that shows the program's own help topics.
//
// The GUI installs a viewer over a text browser; without one, topics go to a process-wide
// HeadlessHelpViewer that records what would have been shown.
#pragma once

#include "ownhelp/HelpTopic.h"

namespace corvane {

class HeadlessHelpViewer;

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Shows a topic (its title, its HTML, the pages and pictures it links to).
    virtual void showTopic(const HelpTopic& topic) = 0;
    // Shows a message in place of a topic that cannot be shown.
    virtual void showMessage(const HelpMessage& message) = 0;

    // The viewer in use: the one installed, else the headless default.
    static HelpViewer& current();
    // Makes `viewer` the one in use (null: the headless default) and returns the one before
    // (null when that was the default). The viewer must outlive its installation.
    static HelpViewer* install(HelpViewer* viewer);
    // The viewer used when none is installed.
    static HeadlessHelpViewer& headless();
};

// Installs a viewer for the lifetime of the scope and puts the previous one back afterwards.
class HelpViewerScope {
public:
    // Installs `viewer` until the scope ends.
    explicit HelpViewerScope(HelpViewer& viewer) : previous_(HelpViewer::install(&viewer)) {}
    ~HelpViewerScope() { HelpViewer::install(previous_); }
    HelpViewerScope(const HelpViewerScope&) = delete;
    HelpViewerScope& operator=(const HelpViewerScope&) = delete;

private:
    HelpViewer* previous_;
};

} // namespace corvane
