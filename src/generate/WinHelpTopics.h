// WinHelpTopics: the topics of one language's WinHelp project, as the lines its topic document
// and its map get, before they go into the files.
//
// Each topic is the topic template ("templatetopic.rtf") with TOPIC_ID and TOPIC_TEXT filled
// in, the text escaped for RTF, and CR LF; the map gets "#define IDH_<id> <id>" and CR LF the
// first time a number is met. Kept apart from the files so that the topics of a language can
// be made on another thread (TopicsAhead) exactly as the writer makes them.
#pragma once

#include "files/ByteBlocks.h"
#include "files/OutputBuffer.h"
#include "generate/ContextNumberSet.h"
#include "vbruntime/PreparedTemplate.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class WinHelpTopics {
public:
    // No topics yet.
    WinHelpTopics() = default;

    // Appends the lines of one topic: the prepared topic template filled with the number and
    // `text` (the record's text in the language) escaped for `codePage`.
    void add(const PreparedTemplate& topicTemplate, int codePage, int32_t contextId, std::string_view text);
    // Forgets every topic and number.
    void clear();
    // Sends the topic document's lines added from now on to `document` instead of keeping them
    // (nullptr: keeps them again); `document` outlives its use. The map's lines are kept.
    void streamTo(OutputBuffer* document) noexcept { document_ = document; }

    // The topic document's lines so far; taking them leaves them empty.
    ByteBlocks takeTopicLines() { return std::move(topicLines_); }
    // Appends the map's lines to `out`. The map keeps its numbers as runs of consecutive ones,
    // which is how numbers handed out in the records' order come, and makes their lines only as
    // they are written: while the topics of several languages are made (see TopicsAhead), a
    // million topics' map takes a few bytes, not 4 MB of numbers or 28 MB of lines.
    void writeMapLines(OutputBuffer& out);

    // The topic template prepared for its keys TOPIC_ID and TOPIC_TEXT.
    static PreparedTemplate prepareTopic(std::string_view topicTemplate);

private:
    ByteBlocks topicLines_;
    // Numbers met one after the other: first, first + 1, ..., first + count - 1.
    struct NumberRun {
        int32_t first = 0;
        int32_t count = 0;
    };
    void addToMap(int32_t number);

    std::vector<NumberRun> mapRuns_; // each number with a map line, in the order met
    ContextNumberSet numbers_; // the numbers with a map line
    std::string line_;         // the line being made, its room kept between topics
    OutputBuffer* document_ = nullptr; // where the topic lines go instead, while streaming
};

} // namespace corvane
