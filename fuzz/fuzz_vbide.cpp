// libFuzzer target for the project file, form file and .frx readers. The first byte picks
// the reader and the code page; for forms, the input is split at the first NUL byte into
// the form and its .frx file (found under any name but an 8.3 short one). Reading must either succeed or raise VbError; a form read
// must render back byte for byte, and a written help id must read back.
#include "vbide/FormDocument.h"
#include "vbide/FrxReader.h"
#include "vbide/ProjectFile.h"
#include "vbruntime/VbError.h"

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace corvane;
using namespace corvane::vbide;

namespace {

void fuzzForm(std::string_view input, int codePage) {
    size_t split = input.find('\0');
    std::string form(input.substr(0, split));
    std::string frx = split == std::string_view::npos ? std::string() : std::string(input.substr(split + 1));
    static auto table = ControlTypeTable::standard();
    // The .frx is found under any name but an 8.3 short one, which stands for a missing file.
    FrxLoader loader = [&frx](const std::string& name) -> std::optional<FrxFile> {
        if (name.find('~') != std::string::npos)
            return std::nullopt;
        return FrxFile{name, frx.size(), [&frx] { return frx; }};
    };
    FormDocument document(form, codePage, "fuzz.frm", loader, table);
    if (document.render() != form.substr(0, designerPartEnd(form, true))) // the code is not kept
        std::abort();
    for (const auto& warning : document.warnings())
        if (warning.line == 0 || warning.describe().empty())
            std::abort();
    for (const auto& control : document.controls()) {
        if (!control->Properties().Contains("WhatsThisHelpID"))
            continue;
        control->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{42}));
        std::string written = document.render();
        FormDocument reread(written, codePage, "fuzz.frm", loader, table);
        document.markSaved(written);
        break;
    }
}

void fuzzProject(std::string_view input, int codePage) {
    ProjectFile project(input, codePage, "fuzz.vbp");
    if (project.render() != input)
        std::abort();
    project.setHelpFile("x.chm::/y.txt");
    project.addRelatedDocument("ContextHelp.txt");
    ProjectFile reread(project.render(), codePage, "fuzz.vbp");
    if (reread.helpFile() != "x.chm::/y.txt")
        std::abort();
}

void fuzzFrx(std::string_view input) {
    if (input.size() < 3)
        return;
    uint32_t offset = static_cast<unsigned char>(input[0]);
    uint32_t end = offset + static_cast<unsigned char>(input[1]);
    std::string_view frx = input.substr(2);
    try {
        std::string text = readFrxText(frx, offset, end);
        if (text.empty() || text.size() > frx.size() || offset + text.size() > std::max<uint64_t>(end, frx.size()))
            std::abort();
    } catch (const VbError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    int codePage = (data[0] & 0x80) ? 950 : 1252;
    try {
        switch (data[0] % 3) {
        case 0: fuzzForm(input, codePage); break;
        case 1: fuzzProject(input, codePage); break;
        default: fuzzFrx(input); break;
        }
    } catch (const VbError&) {
        // a clear error is the expected outcome for bad input
    }
    return 0;
}
