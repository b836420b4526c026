#include "cli/JsonWriter.h"

#include "text/TextCodec.h"
#include "vbruntime/ByteScan.h"

#include <charconv>
#include <cstdio>

namespace corvane::cli {

namespace {

// The length of the run of bytes at the start of the text that a string literal holds as they
// are; texts are mostly such runs, tested many bytes at a time.
size_t plainLength(std::string_view text) {
    return bytescan::runWithout<0x20, false, '"', '\\'>(text);
}

// True when a string literal holds the text as it is: ASCII without control characters,
// quotation marks or backslashes.
bool holdsAsIs(std::string_view text) {
    return bytescan::runWithout<0x20, true, '"', '\\'>(text) == text.size();
}

} // namespace

JsonWriter::JsonWriter(std::ostream& out)
    : out_([&out](std::string_view chunk) {
          out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      }) {}

JsonWriter::~JsonWriter() {
    out_.flush();
}

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.back())
        out_.append(", ");
    first_.back() = false;
}

void JsonWriter::beginObject() {
    separate();
    out_.append('{');
    first_.push_back(true);
}

void JsonWriter::endObject() {
    first_.pop_back();
    out_.append('}');
}

void JsonWriter::beginArray() {
    separate();
    out_.append('[');
    first_.push_back(true);
}

void JsonWriter::endArray() {
    first_.pop_back();
    out_.append(']');
}

void JsonWriter::key(std::string_view name) {
    separate();
    appendQuoted(out_, name);
    out_.append(": ");
    afterKey_ = true;
}

void JsonWriter::value(std::string_view text) {
    separate();
    appendQuoted(out_, text);
}

void JsonWriter::value(int64_t number) {
    separate();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out_.append(std::string_view(digits, static_cast<size_t>(end - digits)));
}

void JsonWriter::value(bool flag) {
    separate();
    out_.append(flag ? "true" : "false");
}

std::string JsonWriter::quoted(std::string_view text) {
    std::string literal;
    OutputBuffer out([&](std::string_view chunk) { literal += chunk; });
    appendQuoted(out, text);
    out.flush();
    return literal;
}

void JsonWriter::appendQuoted(OutputBuffer& out, std::string_view text) {
    if (holdsAsIs(text)) { // most keys and texts: one scan, one copy
        out.append('"');
        out.append(text);
        out.append('"');
        return;
    }
    std::string valid;
    if (!isValidUtf8(text)) {
        // Keep what can be kept: every byte that does not start valid UTF-8 becomes U+FFFD.
        size_t i = 0;
        while (i < text.size()) {
            size_t length = 1;
            while (length <= 4 && i + length <= text.size() && !isValidUtf8(text.substr(i, length)))
                ++length;
            if (length <= 4 && i + length <= text.size()) {
                valid.append(text.substr(i, length));
                i += length;
            } else {
                appendUtf8(valid, 0xFFFD);
                ++i;
            }
        }
        text = valid;
    }
    out.append('"');
    size_t run = 0; // the bytes since the last escape go out in one piece
    for (size_t i = plainLength(text); i < text.size(); i += 1 + plainLength(text.substr(i + 1))) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        out.append(text.substr(run, i - run));
        run = i + 1;
        switch (c) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        case '\b': out.append("\\b"); break;
        case '\f': out.append("\\f"); break;
        default: {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out.append(std::string_view(buffer, 6));
        }
        }
    }
    out.append(text.substr(run));
    out.append('"');
}

} // namespace corvane::cli
