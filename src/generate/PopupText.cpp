#include "generate/PopupText.h"

#include "support/AtomicFile.h"
#include "support/ByteScan.h"
#include "support/TextCodec.h"
#include "support/VbError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <ostream>
#include <unordered_map>

namespace corvane {

namespace {

const std::string_view kTopicPrefix = ".topic ";
// Bytes of a line kept to spot a ".topic" line and its number.
constexpr size_t LineStartKept = 64;

// ASCII other than line breaks: the same byte in every code page, and no line bookkeeping.
constexpr std::array<bool, 256> sameInEveryCodePage = [] {
    std::array<bool, 256> same{};
    for (int c = 0; c < 0x80; ++c)
        same[static_cast<size_t>(c)] = c != '\r' && c != '\n';
    return same;
}();

// The length of the run of such bytes at the start of the text.
size_t sameInEveryCodePageLength(std::string_view text) {
    using namespace bytescan;
    return plainPrefix(
        text, [](uint64_t word) { return !(hasHighByte(word) | hasByte(word, '\r') | hasByte(word, '\n')); },
        [](unsigned char c) { return sameInEveryCodePage[c]; });
}

// The length of the UTF-8 sequence starting at `pos`, or 0 when none starts there.
size_t sequenceLength(std::string_view text, size_t pos) {
    auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return 1;
    size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || pos + length > text.size() || !isValidUtf8(text.substr(pos, length)))
        return 0;
    return length;
}

std::string describe(char32_t cp) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    std::string text = "'";
    appendUtf8(text, cp);
    return text + "' (" + code + ")";
}

// The bytes of a character in the code page, "" when it cannot hold it. Answers are kept
// for the thread's life: code pages other than 1252 go through iconv, far too slow to ask
// again for every character of every topic.
const std::string& codePageBytes(char32_t cp, int codePage) {
    thread_local std::unordered_map<uint64_t, std::string> cache;
    uint64_t key = static_cast<uint64_t>(static_cast<uint32_t>(codePage)) << 32 | cp;
    auto found = cache.find(key);
    if (found != cache.end())
        return found->second;
    std::string utf8, bytes;
    appendUtf8(utf8, cp);
    if (canEncode(utf8, codePage))
        bytes = encodeCodePage(utf8, codePage);
    return cache.emplace(key, std::move(bytes)).first->second;
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
        bytes_ += text; // a whole line of plain ASCII: its bytes as they are
        endLine(text.substr(0, LineStartKept));
    } else {
        append(text);
        endLine(lineStart_);
    }
    bytes_ += "\r\n"; // as append("\r\n") would, without looking at each character
    afterCr_ = false;
}

void PopupText::appendTopic(long long id, std::string_view text) {
    char line[32];
    std::memcpy(line, kTopicPrefix.data(), kTopicPrefix.size());
    char* end = std::to_chars(line + kTopicPrefix.size(), line + sizeof line, id).ptr;
    appendLine(std::string_view(line, static_cast<size_t>(end - line)));
    appendLine(text);
    appendLine("");
}

void PopupText::append(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        // A run of ASCII without line breaks is the same in every code page: copied at once.
        size_t run = pos + sameInEveryCodePageLength(text.substr(pos));
        if (run > pos) {
            std::string_view plain = text.substr(pos, run - pos);
            bytes_.append(plain);
            if (lineStart_.size() < LineStartKept)
                lineStart_.append(plain.substr(0, LineStartKept - lineStart_.size()));
            column_ += plain.size();
            afterCr_ = false;
            pos = run;
            continue;
        }
        size_t length = sequenceLength(text, pos);
        std::string_view piece = text.substr(pos, length == 0 ? 1 : length);
        size_t next = pos;
        char32_t cp = length == 0 ? (++next, 0xFFFD) : nextCodePoint(text, next);
        appendCharacter(length == 0 ? std::string_view() : piece, cp);
        advance(cp, piece);
        pos = next;
    }
}

void PopupText::appendCharacter(std::string_view utf8, char32_t cp) {
    if (cp < 0x80 && !utf8.empty()) {
        bytes_ += static_cast<char>(cp);
        return;
    }
    if (!utf8.empty()) {
        const std::string& encoded = codePageBytes(cp, codePage_);
        if (!encoded.empty()) {
            bytes_ += encoded;
            return;
        }
    }
    bytes_ += '?';
    unmappable_.push_back({cp, topic_, line_, column_});
}

void PopupText::advance(char32_t cp, std::string_view utf8) {
    bool cr = cp == U'\r';
    if (cp == U'\n' && afterCr_) {
        afterCr_ = false;
        return;
    }
    afterCr_ = cr;
    if (cr || cp == U'\n') {
        endLine(lineStart_);
        return;
    }
    if (lineStart_.size() < LineStartKept)
        lineStart_ += utf8;
    ++column_;
}

void PopupText::endLine(std::string_view lineStart) {
    if (lineStart.starts_with(kTopicPrefix))
        topic_ = trimmed(lineStart.substr(kTopicPrefix.size()));
    lineStart_.clear();
    ++line_;
    column_ = 1;
}

void PopupText::write(std::ostream& out) const {
    for (std::string_view piece : bytes_.pieces())
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
}

void PopupText::writeFile(const std::filesystem::path& path) const {
    AtomicFile file(path);
    file.write(bytes_);
    file.commit();
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
