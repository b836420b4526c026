// The program's help pages as the build writes them into the help file.
#pragma once

#include "testsupport/TempDir.h"

#include <filesystem>
#include <string>

namespace corvane::test {

// A page of help/pages as the build writes it into the help file: folders named with this
// system's separator.
inline std::string builtPage(const std::filesystem::path& page) {
    std::string text = readFile(page);
#ifdef _WIN32
    const std::string separator = "\\";
#else
    const std::string separator = "/";
#endif
    const std::string token = "%DIR_SEPARATOR%";
    for (auto at = text.find(token); at != std::string::npos; at = text.find(token, at + separator.size()))
        text.replace(at, token.size(), separator);
    return text;
}

} // namespace corvane::test
