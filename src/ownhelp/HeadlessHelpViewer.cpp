#include "ownhelp/HeadlessHelpViewer.h"

namespace corvane {

void HeadlessHelpViewer::showTopic(const HelpTopic& topic) {
    ShownHelp entry;
    entry.isTopic = true;
    entry.topic = topic;
    shown_.push_back(std::move(entry));
}

void HeadlessHelpViewer::showMessage(const HelpMessage& message) {
    ShownHelp entry;
    entry.message = message;
    shown_.push_back(std::move(entry));
}

} // namespace corvane
