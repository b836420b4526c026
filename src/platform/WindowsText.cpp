#ifdef _WIN32

#include "platform/WindowsText.h"

#include <windows.h>

namespace corvane::platform {

std::wstring wideOf(std::string_view text) {
    if (text.empty())
        return {};
    int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string utf8OfWide(std::wstring_view wide) {
    if (wide.empty())
        return {};
    int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr,
                          nullptr);
    return text;
}

} // namespace corvane::platform

#endif
