// HeadlessHelpViewer: a help window without a screen, which records what it would show.
#pragma once

#include "ownhelp/HelpViewer.h"

#include <vector>

namespace corvane {

// One thing the help window would have shown: a topic or a message.
struct ShownHelp {
    // True for a topic, false for a message.
    bool isTopic = false;
    // The topic (valid when isTopic).
    HelpTopic topic;
    // The message (valid when !isTopic).
    HelpMessage message;
};

class HeadlessHelpViewer : public HelpViewer {
public:
    // Records the topic.
    void showTopic(const HelpTopic& topic) override;
    // Records the message.
    void showMessage(const HelpMessage& message) override;

    // Everything shown so far, oldest first.
    const std::vector<ShownHelp>& shown() const noexcept { return shown_; }
    // Forgets what was shown.
    void clear() { shown_.clear(); }

private:
    std::vector<ShownHelp> shown_;
};

} // namespace corvane
