// JSON text written through the writer's buffer: escaping, invalid UTF-8, containers, and a
// text longer than the buffer arriving whole and in order.
#include "cli/JsonWriter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane::cli {
namespace {

TEST(JsonWriter, EscapesTextsAndKeepsTheOrderOfALongDocument) {
    EXPECT_EQ(JsonWriter::quoted("a\"b\\c\r\n\t\b\f\x01\x1f\x7f Größe"),
              "\"a\\\"b\\\\c\\r\\n\\t\\b\\f\\u0001\\u001f\x7f Größe\"");
    EXPECT_EQ(JsonWriter::quoted("bad \xE4 byte"), "\"bad \xEF\xBF\xBD byte\"");
    EXPECT_EQ(JsonWriter::quoted(""), "\"\"");

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
