#include "generate/WinHelpTopics.h"

#include "generate/RtfText.h"

#include <charconv>

namespace corvane {

namespace {

void appendNumber(std::string& out, int32_t number) {
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

// Appends the prepared topic template filled for one topic, its text escaped for RTF.
void appendTopic(std::string& out, const PreparedTemplate& topicTemplate, int32_t contextId, std::string_view text,
                 int codePage) {
    topicTemplate.appendTo(out, [&](std::string& into, int value) {
        if (value == 1)
            appendNumber(into, contextId);
        else
            RtfText::appendEscaped(into, text, codePage);
    });
}

// Appends the map line of a context number: "#define IDH_<id> <id>".
void appendMapLine(std::string& out, int32_t contextId) {
    out += "#define IDH_";
    appendNumber(out, contextId);
    out += ' ';
    appendNumber(out, contextId);
}

} // namespace

void WinHelpTopics::add(const PreparedTemplate& topicTemplate, int codePage, int32_t contextId,
                        std::string_view text) {
    line_.clear();
    appendTopic(line_, topicTemplate, contextId, text, codePage);
    line_ += "\r\n";
    if (document_)
        document_->append(line_);
    else
        topicLines_ += line_;
    if (numbers_.insert(contextId)) {
        line_.clear();
        appendMapLine(line_, contextId);
        line_ += "\r\n";
        mapLines_ += line_;
    }
}

void WinHelpTopics::clear() {
    topicLines_.clear();
    mapLines_.clear();
    numbers_.clear();
}

PreparedTemplate WinHelpTopics::prepareTopic(std::string_view topicTemplate) {
    return PreparedTemplate(topicTemplate, {"TOPIC_ID", "TOPIC_TEXT"}, '%');
}

} // namespace corvane
