// JsonWriter: writes JSON text with correct escaping, one value after another, straight into
// a buffer that goes to the stream in large chunks (a project's JSON runs to megabytes).
#pragma once

#include "files/OutputBuffer.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::cli {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out);
    // Hands the rest of the text to the stream.
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    // Starts and ends an object or an array.
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // Writes the key of the next member of the current object.
    void key(std::string_view name);
    // Writes a key the program names itself (a string literal): ASCII that a string literal
    // holds as it is, written without being looked at.
    template <size_t N>
    void key(const char (&name)[N]) {
        separate();
        out_.append('"');
        out_.append(std::string_view(name, N - 1));
        out_.append("\": ");
        afterKey_ = true;
    }
    // Writes a value.
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(int64_t number);
    void value(int32_t number) { value(static_cast<int64_t>(number)); }
    void value(bool flag);

    // Hands the text written so far to the stream.
    void flush() { out_.flush(); }

    // A JSON string literal for the text (invalid UTF-8 bytes become U+FFFD).
    static std::string quoted(std::string_view text);

private:
    void separate();
    // Appends the string literal of the text.
    static void appendQuoted(OutputBuffer& out, std::string_view text);

    OutputBuffer out_;
    std::vector<char> first_{true}; // per open container: nothing written in it yet
    bool afterKey_ = false;
};

} // namespace corvane::cli
