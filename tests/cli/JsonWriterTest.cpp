// JSON text written through the writer's buffer: escaping, invalid UTF-8, containers, and a
// text longer than the buffer arriving whole and in order.
#include "cli/JsonWriter.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace corvane::cli
