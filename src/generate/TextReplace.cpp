#include "generate/TextReplace.h"

#include "vbruntime/CaseFold.h"

namespace corvane {

namespace {

// Shared loop: `haystack` is searched for `needle`; `text` supplies the bytes kept.
std::string replaceUsing(std::string_view text, std::string_view haystack, std::string_view needle,
                         std::string_view with) {
    if (needle.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t from = 0;
    for (size_t at = haystack.find(needle); at != std::string_view::npos; at = haystack.find(needle, from)) {
        result.append(text.substr(from, at - from));
        result.append(with);
        from = at + needle.size();
    }
    result.append(text.substr(from));
    return result;
}

} // namespace

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    return replaceUsing(text, text, what, with);
}

std::string replaceAllIgnoreCase(std::string_view text, std::string_view what, std::string_view with) {
    // Lowering A-Z keeps every byte at its place, so positions found in the lowered copy hold
    // in the original.
    return replaceUsing(text, asciiLower(text), asciiLower(what), with);
}

bool containsIgnoreCase(std::string_view text, std::string_view what) {
    return asciiLower(text).find(asciiLower(what)) != std::string::npos;
}

std::string quotedArgument(std::string_view argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            quoted += c;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes + 1, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes, '\\'); // backslashes before the closing quote stay literal
    quoted += '"';
    return quoted;
}

} // namespace corvane
