#include "generate/WinHelpTopics.h"

#include "generate/RtfText.h"

#include <charconv>

namespace corvane {

namespace {

// A context number's digits, written once per topic for every place that shows it.
struct Digits {
    explicit Digits(int32_t number) : end(std::to_chars(text, text + sizeof text, number).ptr) {}
    std::string_view view() const { return {text, static_cast<size_t>(end - text)}; }
    char text[16];
    char* end;
};

// Appends the prepared topic template filled for one topic, its text escaped for RTF.
void appendTopic(std::string& out, const PreparedTemplate& topicTemplate, std::string_view number,
                 std::string_view text, int codePage) {
    topicTemplate.appendTo(out, [&](std::string& into, int value) {
        if (value == 1)
            into += number;
        else
            RtfText::appendEscaped(into, text, codePage);
    });
}

// Appends the map line of a context number: "#define IDH_<id> <id>".
void appendMapLine(std::string& out, std::string_view number) {
    out += "#define IDH_";
    out += number;
    out += ' ';
    out += number;
}

} // namespace

void WinHelpTopics::add(const PreparedTemplate& topicTemplate, int codePage, int32_t contextId,
                        std::string_view text) {
    const Digits number(contextId);
    line_.clear();
    appendTopic(line_, topicTemplate, number.view(), text, codePage);
    line_ += "\r\n";
    if (document_)
        document_->append(line_);
    else
        topicLines_ += line_;
    if (numbers_.insert(contextId))
        addToMap(contextId);
}

void WinHelpTopics::addToMap(int32_t number) {
    if (!mapRuns_.empty()) {
        NumberRun& last = mapRuns_.back();
        if (int64_t{last.first} + last.count == number) {
            ++last.count;
            return;
        }
    }
    mapRuns_.push_back({number, 1});
}

void WinHelpTopics::writeMapLines(OutputBuffer& out) {
    for (const NumberRun& run : mapRuns_)
        for (int32_t k = 0; k < run.count; ++k) {
            line_.clear();
            appendMapLine(line_, Digits(run.first + k).view());
            line_ += "\r\n";
            out.append(line_);
        }
}

void WinHelpTopics::clear() {
    topicLines_.clear();
    std::vector<NumberRun>().swap(mapRuns_);
    numbers_.clear();
}

PreparedTemplate WinHelpTopics::prepareTopic(std::string_view topicTemplate) {
    return PreparedTemplate(topicTemplate, {"TOPIC_ID", "TOPIC_TEXT"}, '%');
}

} // namespace corvane
