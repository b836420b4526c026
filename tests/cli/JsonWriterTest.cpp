// JSON text written through the writer's buffer: escaping, invalid UTF-8, containers, and a
// text longer than the buffer arriving whole and in order.
#include "cli/JsonWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <utility>
#include <vector>

namespace corvane::cli {
namespace {

TEST(JsonWriter, EscapesTextsAndKeepsTheOrderOfALongDocument) {
    EXPECT_EQ(JsonWriter::quoted("a\"b\\c\r\n\t\b\f\x01\x1f\x7f Größe"),
              "\"a\\\"b\\\\c\\r\\n\\t\\b\\f\\u0001\\u001f\x7f Größe\"");
    EXPECT_EQ(JsonWriter::quoted("bad \xE4 byte"), "\"bad \xEF\xBF\xBD byte\"");
    EXPECT_EQ(JsonWriter::quoted(""), "\"\"");
    // Texts are scanned eight bytes at a time: a byte to escape is found at every place of a word.
    const std::vector<std::pair<char, std::string>> escapes = {
        {'"', "\\\""}, {'\\', "\\\\"}, {'\n', "\\n"}, {'\x01', "\\u0001"}, {'\x1f', "\\u001f"}};
    for (size_t at = 0; at < 24; ++at) {
        for (const auto& [special, escaped] : escapes) {
            std::string text(24, 'a');
            text[at] = special;
            EXPECT_EQ(JsonWriter::quoted(text),
                      "\"" + std::string(at, 'a') + escaped + std::string(23 - at, 'a') + "\"")
                << at;
        }
    }
    EXPECT_EQ(JsonWriter::quoted("\x7f é€ 0123456789 ~ \x20"), "\"\x7f é€ 0123456789 ~  \"")
        << "bytes from 0x20 up are kept";

    std::ostringstream out;
    std::string expected = "{\"items\": [";
    {
        JsonWriter json(out);
        json.beginObject();
        json.key("items");
        json.beginArray();
        for (int i = 0; i < 20000; ++i) {
            json.beginObject();
            json.key("n");
            json.value(i);
            json.key("ok");
            json.value(i % 2 == 0);
            json.endObject();
            expected += (i ? ", " : "") + std::string("{\"n\": ") + std::to_string(i) +
                        ", \"ok\": " + (i % 2 == 0 ? "true" : "false") + "}";
        }
        json.endArray();
        json.endObject();
    } // the rest goes out when the writer ends
    expected += "]}";
    EXPECT_TRUE(out.str() == expected) << out.str().size() << " " << expected.size();
}

// Keys the program names are written as they stand; keys from the data (a language's name)
// are escaped like any text; numbers keep every digit and their sign.
TEST(JsonWriter, WritesKeysAndNumbersExactly) {
    std::ostringstream out;
    {
        JsonWriter json(out);
        json.beginObject();
        json.key("contextId");
        json.value(INT64_MIN);
        json.key(std::string("Eng\"lish\\"));
        json.value(INT64_MAX);
        json.key(std::string("bad \xE4"));
        json.value(int32_t{-7});
        json.key("empty");
        json.beginArray();
        json.endArray();
        json.endObject();
    }
    EXPECT_EQ(out.str(), "{\"contextId\": -9223372036854775808, \"Eng\\\"lish\\\\\": 9223372036854775807, "
                         "\"bad \xEF\xBF\xBD\": -7, \"empty\": []}");
}

} // namespace
} // namespace corvane::cli
