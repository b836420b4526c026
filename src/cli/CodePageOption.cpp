#include "cli/CodePageOption.h"

#include "text/TextCodec.h"
#include "vbruntime/VbError.h"

#include <charconv>
#include <ostream>

namespace corvane::cli {

namespace {

// The code page a value names, when the program can convert it.
std::optional<int> codePageNamed(const std::string& value) {
    int codePage = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), codePage);
    if (error != std::errc() || end != value.data() + value.size() || codePage <= 0 || codePage > 65535)
        return std::nullopt;
    try {
        decodeCodePage("", codePage);
    } catch (const VbError&) {
        return std::nullopt;
    }
    return codePage;
}

} // namespace

bool takeCodePageOption(std::vector<std::string>& arguments, std::optional<int>& codePage, std::string_view command,
                        std::ostream& err) {
    for (size_t i = 0; i < arguments.size();) {
        if (arguments[i] != "--codepage") {
            ++i;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            err << "corvane " << command << ": --codepage needs the number of a Windows code page (932, 1251 ...)\n";
            return false;
        }
        codePage = codePageNamed(arguments[i + 1]);
        if (!codePage) {
            err << "corvane " << command << ": '" << arguments[i + 1]
                << "' is not a code page Corvane can read; give the number of a Windows code page "
                   "(874, 932, 936, 949, 950, 1250 to 1258)\n";
            return false;
        }
        arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                        arguments.begin() + static_cast<std::ptrdiff_t>(i + 2));
    }
    return true;
}

} // namespace corvane::cli
