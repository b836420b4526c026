// Utf8Path: paths hold UTF-8 inside the program. A std::filesystem::path made from a
// std::string reads it in the system's narrow encoding, which on Windows is the ANSI code page,
// not UTF-8; these make and read paths as UTF-8 on every system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane::platform {

// The characters that end a folder's name in a path's text: '/', and the system's own where it
// differs (the backslash on Windows, where either separates folders).
inline constexpr std::string_view FolderSeparators =
    std::filesystem::path::preferred_separator == '/' ? std::string_view("/") : std::string_view("/\\");

// The path that the UTF-8 text names.
inline std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The path's text in UTF-8.
inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace corvane::platform
