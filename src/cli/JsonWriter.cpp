#include "cli/JsonWriter.h"

#include "support/TextCodec.h"

#include <cstdio>

namespace corvane::cli {

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.back())
        out_ << ", ";
    first_.back() = false;
}

void JsonWriter::beginObject() {
    separate();
    out_ << '{';
    first_.push_back(true);
}

void JsonWriter::endObject() {
    first_.pop_back();
    out_ << '}';
}

void JsonWriter::beginArray() {
    separate();
    out_ << '[';
    first_.push_back(true);
}

void JsonWriter::endArray() {
    first_.pop_back();
    out_ << ']';
}

void JsonWriter::key(std::string_view name) {
    separate();
    out_ << quoted(name) << ": ";
    afterKey_ = true;
}

void JsonWriter::value(std::string_view text) {
    separate();
    out_ << quoted(text);
}

void JsonWriter::value(int64_t number) {
    separate();
    out_ << number;
}

void JsonWriter::value(bool flag) {
    separate();
    out_ << (flag ? "true" : "false");
}

std::string JsonWriter::quoted(std::string_view text) {
    std::string valid = isValidUtf8(text) ? std::string(text) : std::string();
    if (valid.empty() && !text.empty()) {
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
    }
    std::string out = "\"";
    for (char c : valid) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned char>(c));
                out += buffer;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

} // namespace corvane::cli
