// Fuzz target for the XML document: any bytes decode and load without a crash or a hang, and a
// document that loads renders to text that loads again to the very same text.
#include "support/XmlDocument.h"
#include "support/XmlEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    corvane::XMLDocument document;
    if (!document.LoadText(corvane::decodeXmlBytes(bytes)))
        return 0;
    std::string first = document.XMLText();
    corvane::XMLDocument again;
    if (!again.LoadText(first)) {
        std::fprintf(stderr, "rendered text does not load again: %s\n", first.c_str());
        std::abort();
    }
    if (again.XMLText() != first) {
        std::fprintf(stderr, "round trip changed the text:\n%s\n----\n%s\n", first.c_str(),
                     again.XMLText().c_str());
        std::abort();
    }
    return 0;
}
