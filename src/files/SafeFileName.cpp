#include "files/SafeFileName.h"

#include "vbruntime/CaseFold.h"

#include <array>

namespace corvane {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// Characters Windows refuses in a name besides separators and control characters.
bool isForbidden(char c) {
    return c == ':' || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

bool mapsToUnderscore(char c) { return isSeparator(c) || isControl(c) || isForbidden(c); }

// True when the name's stem (before its first dot, trailing spaces left out) names a device.
bool isDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.remove_suffix(1);
    static constexpr std::array<std::string_view, 4> plain{"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : plain)
        if (equalsIgnoreCase(stem, device))
            return true;
    if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9')
        return false;
    return equalsIgnoreCase(stem.substr(0, 3), "COM") || equalsIgnoreCase(stem.substr(0, 3), "LPT");
}

bool onlyDots(std::string_view name) { return name.find_first_not_of('.') == std::string_view::npos; }

} // namespace

std::string unsafeFileNameReason(std::string_view name) {
    if (name.empty())
        return "it is empty";
    for (char c : name) {
        if (isSeparator(c))
            return "it holds a path separator";
        if (c == ':')
            return "it holds a drive or stream separator";
        if (isControl(c))
            return "it holds a control character";
        if (isForbidden(c))
            return "it holds a character Windows does not allow in a file name";
    }
    if (onlyDots(name))
        return "it names a folder";
    if (name.front() == '.')
        return "it begins with a dot, which hides a file";
    if (name.back() == '.' || name.back() == ' ')
        return "it ends in a dot or a space";
    if (isDeviceName(name))
        return "it is the name of a device";
    return {};
}

std::string safeFileName(std::string_view name) {
    if (name.empty())
        return "_";
    std::string safe(name);
    for (char& c : safe)
        if (mapsToUnderscore(c))
            c = '_';
    for (size_t start = 0; start < safe.size() && safe[start] == '.'; ++start)
        safe[start] = '_';
    for (size_t end = safe.size(); end > 0 && (safe[end - 1] == '.' || safe[end - 1] == ' '); --end)
        safe[end - 1] = '_';
    if (isDeviceName(safe))
        safe.insert(std::min(safe.find('.'), safe.size()), "_");
    return safe;
}

} // namespace corvane
