// Fuzz target for the XML document: any bytes decode and load without a crash or a hang, and a
// document that loads renders to text that loads again to the very same text, with the same
// names, attributes and element texts as the document first loaded.
#include "xml/XMLDocument.h"
#include "xml/XmlEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "%s:\n", what);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::abort();
}

// Compares two trees element by element without recursion (inputs may nest deeply).
bool sameTree(const corvane::XMLElement& a, const corvane::XMLElement& b) {
    std::vector<std::pair<corvane::XMLElement, corvane::XMLElement>> pending{{a, b}};
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        if (x.Name() != y.Name() || x.Text() != y.Text())
            return false;
        auto xa = x.Attributes(), ya = y.Attributes();
        if (xa.Count() != ya.Count())
            return false;
        for (auto i = xa.begin(), j = ya.begin(); i != xa.end(); ++i, ++j)
            if ((*i).Name() != (*j).Name() || (*i).Value() != (*j).Value())
                return false;
        auto xe = x.Elements(), ye = y.Elements();
        if (xe.Count() != ye.Count())
            return false;
        for (auto i = xe.begin(), j = ye.begin(); i != xe.end(); ++i, ++j)
            pending.emplace_back(*i, *j);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    corvane::XMLDocument document;
    if (!document.LoadText(corvane::decodeXmlBytes(bytes)))
        return 0;
    std::string first = document.XMLText();
    corvane::XMLDocument again;
    if (!again.LoadText(first))
        fail("rendered text does not load again", first);
    if (again.XMLText() != first)
        fail("round trip changed the text", first + "\n----\n" + again.XMLText());
    if (!sameTree(document.Root(), again.Root()))
        fail("round trip changed names, attributes or texts", first);
    return 0;
}
