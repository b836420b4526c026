// PopupText: the text-popup file of an HTML Help project, in the ANSI code page of its language.
//
// The HTML Help viewer reads a popup file in the code page of the help file's language, not
// as UTF-8, so the file is encoded before it is written. A character the code page cannot
// hold is written as '?' and reported with its place (topic, line, column), so that the
// compile output can name it instead of the text changing silently. Every line break is
// written as CR LF. A line of a topic's text that the viewer would read as a directive (one
// starting with ".topic", any letter case) gets a blank in front, so that it stays text of
// its popup, and a note for the compile log says where.
#pragma once

#include "files/AtomicFile.h"
#include "files/ByteBlocks.h"
#include "files/OutputBuffer.h"

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One character that the popup file's code page cannot hold.
struct UnmappableCharacter {
    char32_t character = 0; // the code point (U+FFFD for bytes that were not UTF-8)
    std::string topic;      // the number of the ".topic" line above it ("" before the first)
    size_t line = 0;        // line of the file, from 1
    size_t column = 0;      // character within the line, from 1
};

// A line of help text that was written with a blank in front, so as not to start a topic.
struct DefusedDirective {
    std::string topic; // the number of the topic whose text holds it
    size_t line = 0;   // line of the file, from 1
    std::string start; // the line's first characters, as the user wrote them
};

class PopupText {
public:
    // An empty popup file written in `codePage`; VbError 5 for a code page the system lacks.
    explicit PopupText(int codePage);

    // The code page of the file.
    int codePage() const noexcept { return codePage_; }

    // Appends a line of UTF-8 text and CR LF, as the text file writer's WriteLine does.
    void appendLine(std::string_view text);
    // Appends one topic: ".topic <id>", the text as one written line (its directive lines
    // with a blank in front), an empty line.
    void appendTopic(long long id, std::string_view text);
    // Appends UTF-8 text as it is, each line break as CR LF (line breaks count as lines).
    void append(std::string_view text);

    // Sends the encoded bytes appended from now on to `out` instead of keeping them (nullptr:
    // keeps them again), so that a large file is written as it is made; `out` outlives its use.
    void streamTo(OutputBuffer* out) noexcept { out_ = out; }
    // The encoded bytes of the file kept so far (a copy).
    std::string bytes() const { return bytes_.str(); }
    // The characters written as '?', in the order met.
    const std::vector<UnmappableCharacter>& unmappable() const noexcept { return unmappable_; }
    // The lines of topic texts written with a blank in front, in the order met.
    const std::vector<DefusedDirective>& defusedDirectives() const noexcept { return defused_; }

    // Writes the encoded bytes to a stream.
    void write(std::ostream& out) const;
    // Replaces the file through AtomicFile (flushed to disk unless `durability` defers it to
    // the caller's sync); VbError 75 naming the file on failure.
    void writeFile(const std::filesystem::path& path, Durability durability = Durability::Flush) const;

    // "Warning: ..." lines naming the unmappable characters of the file `fileName`, at most
    // `maxLines` of them plus a line counting the rest; "" when none. Each line ends in LF,
    // as the compiler's own lines do, so they can join its output in the compile log.
    std::string warnings(std::string_view fileName, size_t maxLines = 20) const;

    // "Note: ..." lines, each ending in LF, naming the lines of the file `fileName` that were
    // written with a blank in front; "" when none.
    std::string notes(std::string_view fileName) const;

    // True when a line starting so would be read as a popup-file directive.
    static bool isDirective(std::string_view line);

    // Encodes a whole UTF-8 text in one go (a PopupText holding only `text`).
    static PopupText encode(std::string_view text, int codePage);

private:
    void put(std::string_view bytes) {
        if (out_)
            out_->append(bytes);
        else
            bytes_.append(bytes);
    }
    void appendCharacter(std::string_view utf8, char32_t cp);
    void appendLineBreak(char c);
    // True when some line of the text starts with "." (a cheap test before the real one).
    static bool mayHoldDirective(std::string_view text);
    // The text with a blank before each directive line, each one recorded.
    std::string withoutDirectives(std::string_view text);
    // The bookkeeping of one character other than a line break.
    void advance(std::string_view utf8);
    // The bookkeeping of a line break after a line that began with `lineStart`: topic, line, column.
    void endLine(std::string_view lineStart);

    int codePage_;
    ByteBlocks bytes_;
    OutputBuffer* out_ = nullptr; // where the bytes go instead, while streaming
    std::vector<UnmappableCharacter> unmappable_;
    std::vector<DefusedDirective> defused_;
    std::string topic_;      // the current ".topic" number
    std::string lineStart_;  // the first characters of the current line, to spot ".topic "
    size_t line_ = 1;
    size_t column_ = 1;
    bool afterCr_ = false;   // the last character was CR (CR LF is one line break)
    bool keepLineStarts_ = true; // false while lines that cannot start a topic are written
};

} // namespace corvane
