#include "generate/PopupText.h"

#include "generate/CodePageCharacters.h"

#include "files/AtomicFile.h"
#include "text/TextCodec.h"
#include "vbruntime/ByteScan.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <cctype>
#include <cstdio>
#include <ostream>

namespace corvane {

namespace {

const std::string_view TopicPrefix = ".topic ";
// Bytes of a line kept to spot a ".topic" line and its number.
constexpr size_t LineStartKept = 64;

// The length of the run at the start of the text of ASCII other than line breaks: the same
// bytes in every code page, and no line bookkeeping.
size_t sameInEveryCodePageLength(std::string_view text) {
    return bytescan::runWithout<0, true, '\r', '\n'>(text);
}

std::string describe(char32_t cp) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    std::string text = "'";
    appendUtf8(text, cp);
    return text + "' (" + code + ")";
}

// The longest start of the UTF-8 text of at most `size` bytes that cuts no character.
std::string_view utf8Prefix(std::string_view text, size_t size) {
    if (text.size() <= size)
        return text;
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
        --size;
    return text.substr(0, size);
}

std::string trimmed(std::string_view text) {
    size_t first = text.find_first_not_of(" \t");
    size_t last = text.find_last_not_of(" \t");
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first, last - first + 1));
}

} // namespace

PopupText::PopupText(int codePage) : codePage_(codePage) {
    encodeCodePage("", codePage); // an unknown code page fails here, before any text
}

PopupText PopupText::encode(std::string_view text, int codePage) {
    PopupText popup(codePage);
    popup.append(text);
    return popup;
}

void PopupText::appendLine(std::string_view text) {
    if (column_ == 1 && sameInEveryCodePageLength(text) == text.size()) {
        put(text); // a whole line of plain ASCII: its bytes as they are
        endLine(text.substr(0, LineStartKept));
    } else {
        append(text);
        endLine(lineStart_);
    }
    put("\r\n"); // as append("\r\n") would, without looking at each character
    afterCr_ = false;
}

void PopupText::appendTopic(long long id, std::string_view text) {
    char line[32];
    std::memcpy(line, TopicPrefix.data(), TopicPrefix.size());
    char* end = std::to_chars(line + TopicPrefix.size(), line + sizeof line, id).ptr;
    const std::string_view topicLine(line, static_cast<size_t>(end - line));
    if (column_ == 1) {
        // At a line's start, as topics are: the ".topic" line and its number written at once.
        put(topicLine);
        put("\r\n");
        topic_.assign(topicLine.substr(TopicPrefix.size()));
        lineStart_.clear();
        ++line_;
        afterCr_ = false;
    } else {
        appendLine(topicLine);
    }
    // No line of the text starts a topic (a directive gets its blank first), so the starts of
    // its lines are not kept to look for one.
    keepLineStarts_ = false;
    if (mayHoldDirective(text))
        appendLine(withoutDirectives(text));
    else
        appendLine(text);
    keepLineStarts_ = true;
    appendLine("");
}

bool PopupText::isDirective(std::string_view line) {
    constexpr std::string_view directive = ".topic";
    if (line.size() < directive.size())
        return false;
    for (size_t i = 0; i < directive.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != directive[i])
            return false;
    return true;
}

bool PopupText::mayHoldDirective(std::string_view text) {
    return text.starts_with('.') || text.find("\n.") != std::string_view::npos ||
           text.find("\r.") != std::string_view::npos;
}

std::string PopupText::withoutDirectives(std::string_view text) {
    std::string out;
    size_t lineOfText = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (isDirective(line)) {
            // A blank in front: the viewer shows the line as text, and it reads as before.
            out += ' ';
            defused_.push_back({topic_, line_ + lineOfText, std::string(utf8Prefix(line, LineStartKept))});
        }
        out += line;
        if (end == text.size())
            break;
        size_t next = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        out += text.substr(end, next - end);
        start = next;
        ++lineOfText;
    }
    return out;
}

void PopupText::appendLineBreak(char c) {
    if (c == '\n' && afterCr_) { // the LF of a CR LF, written with the CR
        afterCr_ = false;
        return;
    }
    put("\r\n");
    endLine(lineStart_);
    afterCr_ = c == '\r';
}

void PopupText::append(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        // A run of ASCII without line breaks is the same in every code page: copied at once.
        size_t run = pos + sameInEveryCodePageLength(text.substr(pos));
        if (run > pos) {
            std::string_view plain = text.substr(pos, run - pos);
            put(plain);
            if (keepLineStarts_ && lineStart_.size() < LineStartKept)
                lineStart_.append(plain.substr(0, LineStartKept - lineStart_.size()));
            column_ += plain.size();
            afterCr_ = false;
            pos = run;
            continue;
        }
        if (text[pos] == '\r' || text[pos] == '\n') {
            appendLineBreak(text[pos]);
            ++pos;
            continue;
        }
        size_t length = utf8SequenceLength(text, pos);
        std::string_view piece = text.substr(pos, length == 0 ? 1 : length);
        size_t next = pos;
        char32_t cp = length == 0 ? (++next, 0xFFFD) : nextCodePoint(text, next);
        appendCharacter(length == 0 ? std::string_view() : piece, cp);
        advance(piece);
        pos = next;
    }
}

void PopupText::appendCharacter(std::string_view utf8, char32_t cp) {
    if (cp < 0x80 && !utf8.empty()) {
        put(utf8); // ASCII: the same byte in every code page
        return;
    }
    if (!utf8.empty()) {
        const std::string& encoded = CodePageCharacters::bytesOf(cp, codePage_);
        if (!encoded.empty()) {
            put(encoded);
            return;
        }
    }
    put("?");
    unmappable_.push_back({cp, topic_, line_, column_});
}

void PopupText::advance(std::string_view utf8) {
    afterCr_ = false;
    if (keepLineStarts_ && lineStart_.size() < LineStartKept)
        lineStart_ += utf8;
    ++column_;
}

void PopupText::endLine(std::string_view lineStart) {
    if (lineStart.starts_with(TopicPrefix))
        topic_ = trimmed(lineStart.substr(TopicPrefix.size()));
    lineStart_.clear();
    ++line_;
    column_ = 1;
}

void PopupText::write(std::ostream& out) const {
    for (std::string_view piece : bytes_.pieces())
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
}

void PopupText::writeFile(const std::filesystem::path& path, Durability durability) const {
    AtomicFile file(path, {}, durability);
    file.write(bytes_);
    file.commit();
}

std::string PopupText::notes(std::string_view fileName) const {
    std::string out;
    for (const auto& item : defused_) {
        out += "Note: " + std::string(fileName);
        if (!item.topic.empty())
            out += ", topic " + item.topic;
        out += ", line " + std::to_string(item.line) + ": the help text line \"" + item.start +
               "\" would have started a topic of its own; it was written with a blank in front.\n";
    }
    return out;
}

std::string PopupText::warnings(std::string_view fileName, size_t maxLines) const {
    std::string out;
    size_t shown = std::min(maxLines, unmappable_.size());
    for (size_t i = 0; i < shown; ++i) {
        const auto& item = unmappable_[i];
        out += "Warning: " + std::string(fileName);
        if (!item.topic.empty())
            out += ", topic " + item.topic;
        out += ", line " + std::to_string(item.line) + ", column " + std::to_string(item.column) +
               ": code page " + std::to_string(codePage_) + " cannot hold the character " +
               describe(item.character) + "; it was written as '?'.\n";
    }
    if (unmappable_.size() > shown)
        out += "Warning: " + std::string(fileName) + ": " + std::to_string(unmappable_.size() - shown) +
               " more characters were written as '?'.\n";
    return out;
}

} // namespace corvane
