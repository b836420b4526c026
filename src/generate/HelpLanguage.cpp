#include "generate/HelpLanguage.h"

#include <array>
#include <cstdio>
#include <utility>

namespace corvane {

int charsetOfCodePage(int codePage) {
    // The code pages of the Windows character sets (ANSI_CHARSET ... THAI_CHARSET).
    static constexpr std::array<std::pair<int, int>, 15> charsets = {{{1252, 0},
                                                                      {1250, 238},
                                                                      {1251, 204},
                                                                      {1253, 161},
                                                                      {1254, 162},
                                                                      {1255, 177},
                                                                      {1256, 178},
                                                                      {1257, 186},
                                                                      {1258, 163},
                                                                      {874, 222},
                                                                      {932, 128},
                                                                      {936, 134},
                                                                      {949, 129},
                                                                      {950, 136},
                                                                      {1361, 130}}};
    for (const auto& [page, charset] : charsets)
        if (page == codePage)
            return charset;
    return 1;
}

std::string winHelpLcid(uint32_t lcid) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(lcid));
    return text;
}

std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
                ++at;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace corvane
