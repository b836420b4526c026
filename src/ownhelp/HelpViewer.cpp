#include "ownhelp/HelpViewer.h"

#include "ownhelp/HeadlessHelpViewer.h"

namespace corvane {

namespace {

HelpViewer*& installed() {
    static HelpViewer* viewer = nullptr;
    return viewer;
}

} // namespace

HelpViewer& HelpViewer::current() {
    HelpViewer* viewer = installed();
    return viewer ? *viewer : headless();
}

HelpViewer* HelpViewer::install(HelpViewer* viewer) {
    HelpViewer* previous = installed();
    installed() = viewer;
    return previous;
}

HeadlessHelpViewer& HelpViewer::headless() {
    static HeadlessHelpViewer viewer;
    return viewer;
}

} // namespace corvane
