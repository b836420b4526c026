#include "vbaddin/ProjectFileLines.h"

#include <windows.h>

namespace corvane::vbaddin {

namespace {

std::wstring fromAnsi(const std::string& text) {
    if (text.empty())
        return {};
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

bool sameKey(const std::string& line, const std::string& key) {
    if (line.size() <= key.size() || line[key.size()] != '=')
        return false;
    return ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, line.data(), static_cast<int>(key.size()), key.data(),
                            static_cast<int>(key.size())) == CSTR_EQUAL;
}

std::string unquoted(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::vector<std::wstring> projectValues(const std::string& text, const std::string& key) {
    std::vector<std::wstring> values;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (sameKey(line, key))
            values.push_back(fromAnsi(unquoted(line.substr(key.size() + 1))));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return values;
}

std::wstring projectValue(const std::string& text, const std::string& key) {
    std::vector<std::wstring> values = projectValues(text, key);
    return values.empty() ? std::wstring() : values.front();
}

std::string readWholeFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

} // namespace corvane::vbaddin
