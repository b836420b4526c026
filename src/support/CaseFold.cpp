#include "support/CaseFold.h"

namespace corvane {

std::string foldCase(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            // U+00C0..U+00DE (except U+00D7) fold to U+00E0..U+00FE: second byte 0x80..0x9E.
            auto d = static_cast<unsigned char>(out[i + 1]);
            if (d >= 0x80 && d <= 0x9E && d != 0x97)
                out[i + 1] = static_cast<char>(d + 0x20);
            ++i;
        }
    }
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    if (a == b)
        return true;
    return foldCase(a) == foldCase(b);
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

std::string asciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return out;
}

} // namespace corvane
