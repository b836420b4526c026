#include "vbruntime/PreparedTemplate.h"

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

TEST(PreparedTemplate, IsCutOnceAndFilledAgainWithOtherValues) {
    PreparedTemplate prepared("100%% %a %TOPIC_ID% %unknown%Topic_Text% 50% off %", {"TOPIC_ID", "TOPIC_TEXT"}, '%');
    EXPECT_EQ(fill(prepared, {"12", "Saves {all}"}), "before:100%% %a 12 %unknownSaves {all} 50% off %");
    EXPECT_EQ(fill(prepared, {"%TOPIC_TEXT%", ""}), "before:100%% %a %TOPIC_TEXT% %unknown 50% off %");
    EXPECT_EQ(prepared.fixedSize(), 28u);

    PreparedTemplate repeated("%TOPIC_ID%: %TOPIC_TEXT% (%topic_id%)", {"TOPIC_ID", "TOPIC_TEXT"}, '%');
    EXPECT_EQ(fill(repeated, {"7", "%TOPIC_ID%"}), "before:7: %TOPIC_ID% (7)");
    EXPECT_EQ(fill(PreparedTemplate("%TOPIC_TEXT", {"TOPIC_TEXT"}, '%'), {"7", "x"}), "before:%TOPIC_TEXT");
    EXPECT_EQ(fill(PreparedTemplate(), {"7", "x"}), "before:");
}

} // namespace
} // namespace corvane
