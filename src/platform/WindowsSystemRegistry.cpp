// The Windows implementation of SystemRegistry.h, over the registry functions of advapi32.
#ifdef _WIN32

#include "platform/SystemRegistry.h"
#include "platform/WindowsText.h"

#include <string_view>
#include <windows.h>

namespace corvane::platform {

namespace {

HKEY rootOf(RegistryHive hive) { return hive == RegistryHive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// The system's words for an error code, without the line end it ends with.
std::string reasonOf(LSTATUS status) {
    wchar_t* text = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<LPWSTR>(&text), 0,
                                    nullptr);
    std::wstring words = length > 0 && text ? std::wstring(text, length) : L"error " + std::to_wstring(status);
    if (text)
        ::LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.'))
        words.pop_back();
    return utf8OfWide(words);
}

// A key open for as long as the object lives.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_)
            ::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace

bool systemRegistryAvailable() { return true; }

std::optional<std::string> readRegistryString(RegistryHive hive, const std::string& keyPath,
                                              const std::string& valueName) {
    OpenKey key;
    if (::RegOpenKeyExW(rootOf(hive), wideOf(keyPath).c_str(), 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring name = wideOf(valueName);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0') // the stored text may or may not end in one
        data.pop_back();
    return utf8OfWide(data);
}

bool registryKeyExists(RegistryHive hive, const std::string& keyPath) {
    OpenKey key;
    return ::RegOpenKeyExW(rootOf(hive), wideOf(keyPath).c_str(), 0, KEY_READ, key.out()) == ERROR_SUCCESS;
}

std::string createRegistryKey(RegistryHive hive, const std::string& keyPath) {
    OpenKey key;
    LSTATUS status = ::RegCreateKeyExW(rootOf(hive), wideOf(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_WRITE, nullptr, key.out(), nullptr);
    return status == ERROR_SUCCESS ? std::string() : reasonOf(status);
}

std::string writeRegistryString(RegistryHive hive, const std::string& keyPath, const std::string& valueName,
                                const std::string& value) {
    OpenKey key;
    LSTATUS status = ::RegCreateKeyExW(rootOf(hive), wideOf(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_SET_VALUE, nullptr, key.out(), nullptr);
    if (status != ERROR_SUCCESS)
        return reasonOf(status);
    const std::wstring data = wideOf(value);
    status = ::RegSetValueExW(key.get(), wideOf(valueName).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(data.c_str()),
                              static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    return status == ERROR_SUCCESS ? std::string() : reasonOf(status);
}

std::string removeRegistryKey(RegistryHive hive, const std::string& keyPath) {
    LSTATUS status = ::RegDeleteTreeW(rootOf(hive), wideOf(keyPath).c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        return {};
    return reasonOf(status);
}

} // namespace corvane::platform

#endif
