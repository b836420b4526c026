// JsonWriter: writes JSON text with correct escaping, one value after another.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace corvane::cli {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    // Starts and ends an object or an array.
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // Writes the key of the next member of the current object.
    void key(std::string_view name);
    // Writes a value.
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(int64_t number);
    void value(int32_t number) { value(static_cast<int64_t>(number)); }
    void value(bool flag);

    // A JSON string literal for the text (invalid UTF-8 bytes become U+FFFD).
    static std::string quoted(std::string_view text);

private:
    void separate();

    std::ostream& out_;
    std::vector<bool> first_{true}; // per open container: nothing written in it yet
    bool afterKey_ = false;
};

} // namespace corvane::cli
