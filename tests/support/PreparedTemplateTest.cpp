#include "support/PreparedTemplate.h"
#include "support/Utilities.h"

#include <gtest/gtest.h>

#include <array>

namespace corvane {
namespace {

// Fills a prepared template with the values of TOPIC_ID and TOPIC_TEXT.
std::string fill(const PreparedTemplate& prepared, const std::array<std::string, 2>& values) {
    std::string out = "before:";
    prepared.appendTo(out, [&](std::string& into, int value) { into += values[static_cast<size_t>(value - 1)]; });
    return out;
}

TEST(PreparedTemplate, FillsAsFillTemplateDoesWhateverTheValues) {
    const std::string_view templates[] = {
        "#{\\footnote IDH_%TOPIC_ID%}\n%TOPIC_TEXT%\\par\n\\page\n",
        "%topic_id%%Topic_Text%%TOPIC_ID%",
        "100%% %a %TOPIC_ID% %unknown%TOPIC_TEXT% 50% off %",
        "%TOPIC_TEXT",
        "",
        "no tokens",
    };
    const std::array<std::string, 2> valueSets[] = {{"12", "Saves {all}"}, {"%TOPIC_TEXT%", "%%"}, {"", ""}};
    for (std::string_view templ : templates) {
        PreparedTemplate prepared(templ, {"TOPIC_ID", "TOPIC_TEXT"}, '%');
        for (const auto& values : valueSets) {
            KeyedCollection<std::string> keyed;
            keyed.Add(values[0], "TOPIC_ID");
            keyed.Add(values[1], "TOPIC_TEXT");
            EXPECT_EQ(fill(prepared, values), "before:" + Utilities::FillTemplate(templ, keyed, '%'))
                << templ << " with " << values[0] << ", " << values[1];
        }
    }
    PreparedTemplate prepared("%TOPIC_ID%: %TOPIC_TEXT% (%topic_id%)", {"TOPIC_ID", "TOPIC_TEXT"}, '%');
    EXPECT_EQ(fill(prepared, {"7", "%TOPIC_ID%"}), "before:7: %TOPIC_ID% (7)");
    EXPECT_EQ(prepared.fixedSize(), 5u);
    EXPECT_EQ(fill(PreparedTemplate(), {"7", "x"}), "before:");
}

} // namespace
} // namespace corvane
