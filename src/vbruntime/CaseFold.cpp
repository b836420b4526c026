#include "vbruntime/CaseFold.h"

#include "vbruntime/ByteScan.h"

#include <cstdint>

namespace corvane {

namespace {

constexpr unsigned char LatinLead = 0xC3; // first byte of U+00C0..U+00FF in UTF-8

unsigned char foldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

// The second byte of a U+00C0..U+00FF sequence, folded: U+00C0..U+00DE (except U+00D7) map
// to U+00E0..U+00FE, whose second bytes are 0x20 higher.
unsigned char foldLatinTrail(unsigned char d) {
    return d >= 0x80 && d <= 0x9E && d != 0x97 ? static_cast<unsigned char>(d + 0x20) : d;
}

// Calls visit(folded byte) for each byte of the text, in order.
template <typename Visit>
void forEachFolded(std::string_view text, Visit&& visit) {
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        visit(foldAscii(c));
        if (c == LatinLead && i + 1 < text.size())
            visit(foldLatinTrail(static_cast<unsigned char>(text[++i])));
    }
}

using bytescan::Highs;
using bytescan::loadWord;

} // namespace

// FNV-1a over the folded bytes, for text beyond ASCII.
size_t casefold::foldedHashByByte(std::string_view text) noexcept {
    size_t hash = static_cast<size_t>(14695981039346656037ull);
    forEachFolded(text, [&hash](unsigned char c) {
        hash ^= c;
        hash *= static_cast<size_t>(1099511628211ull);
    });
    return hash;
}

std::string foldCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    forEachFolded(text, [&out](unsigned char c) { out.push_back(static_cast<char>(c)); });
    return out;
}

bool casefold::equalsFolded(std::string_view a, std::string_view b) {
    size_t i = 0;
    for (; i + 8 <= a.size(); i += 8) { // eight ASCII bytes at a time
        uint64_t x = loadWord(a.data() + i), y = loadWord(b.data() + i);
        if ((x | y) & Highs)
            break; // the bytes from here go one by one
        if (casefold::lowerAsciiWord(x) != casefold::lowerAsciiWord(y))
            return false;
    }
    for (; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x == LatinLead || y == LatinLead) {
            // Folding never makes another byte LatinLead, so both must be one.
            if (x != y)
                return false;
            if (++i < a.size() && foldLatinTrail(static_cast<unsigned char>(a[i])) !=
                                      foldLatinTrail(static_cast<unsigned char>(b[i])))
                return false;
            continue;
        }
        if (x != y && foldAscii(x) != foldAscii(y))
            return false;
    }
    return true;
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
