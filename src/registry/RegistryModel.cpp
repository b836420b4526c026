#include "registry/RegistryModel.h"

#include "text/TextCodec.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <cstdint>

namespace corvane {

namespace {

// Windows keeps keys at most 512 levels deep; the limit also bounds the tree's recursion.
constexpr size_t MaxKeyDepth = 512;

[[noreturn]] void invalidPath(std::string_view fullPath) {
    throw VbError(vberr::InvalidCall, "Invalid registry key path '" + std::string(fullPath) + "'");
}

bool hasControlCharacter(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes of a "hex:" list ("41,00,\<line break>  42,00"); digits only, separators skipped.
std::string hexBytes(std::string_view list) {
    std::string bytes;
    int pending = -1;
    for (char c : list) {
        int digit = hexDigit(c);
        if (digit < 0) {
            if (pending >= 0)
                bytes.push_back(static_cast<char>(pending));
            pending = -1;
        } else {
            pending = pending < 0 ? digit : pending * 16 + digit;
        }
    }
    if (pending >= 0)
        bytes.push_back(static_cast<char>(pending));
    return bytes;
}

} // namespace

const RegistryKey* RegistryKey::findSubKey(std::string_view name) const {
    int32_t position = subKeys_.PositionOf(name);
    return position == 0 ? nullptr : &subKeys_.Item(position);
}

RegistryKey* RegistryKey::findSubKey(std::string_view name) {
    int32_t position = subKeys_.PositionOf(name);
    return position == 0 ? nullptr : &subKeys_.Item(position);
}

RegistryKey& RegistryKey::subKey(std::string_view name, bool* created) {
    int32_t position = subKeys_.PositionOf(name);
    if (position == 0) {
        subKeys_.Add(RegistryKey(std::string(name)), name);
        position = subKeys_.Count();
        if (created)
            *created = true;
    }
    return subKeys_.Item(position);
}

const RegistryValue* RegistryKey::findValue(std::string_view name) const {
    int32_t position = values_.PositionOf(name);
    return position == 0 ? nullptr : &values_.Item(position);
}

bool RegistryKey::setValue(std::string_view name, std::string_view data, bool isString) {
    int32_t position = values_.PositionOf(name);
    if (position == 0) {
        values_.Add(RegistryValue{std::string(name), std::string(data), isString}, name);
        return true;
    }
    RegistryValue& value = values_.Item(position);
    if (value.data == data && value.isString == isString)
        return false;
    value.data = data;
    value.isString = isString;
    return true;
}

const std::vector<std::string_view>& RegistryModel::rootNames() {
    static const std::vector<std::string_view> names{
        "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
        "HKEY_CURRENT_CONFIG"};
    return names;
}

std::optional<std::vector<std::string>> RegistryModel::splitPath(std::string_view fullPath) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = fullPath.find('\\', start);
        std::string_view part = fullPath.substr(start, end == std::string_view::npos ? end : end - start);
        if (part.empty() || hasControlCharacter(part))
            return std::nullopt;
        parts.emplace_back(part);
        if (parts.size() > MaxKeyDepth)
            return std::nullopt;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    for (std::string_view root : rootNames()) {
        if (equalsIgnoreCase(parts.front(), root)) {
            parts.front() = root;
            return parts;
        }
    }
    return std::nullopt;
}

const RegistryKey* RegistryModel::findKey(std::string_view fullPath) const {
    auto parts = splitPath(fullPath);
    if (!parts)
        invalidPath(fullPath);
    const RegistryKey* key = &top_;
    for (const std::string& part : *parts) {
        key = key->findSubKey(part);
        if (!key)
            return nullptr;
    }
    return key;
}

RegistryKey& RegistryModel::createKey(std::string_view fullPath, bool* created) {
    auto parts = splitPath(fullPath);
    if (!parts)
        invalidPath(fullPath);
    RegistryKey* key = &top_;
    for (const std::string& part : *parts)
        key = &key->subKey(part, created);
    return *key;
}

std::string RegistryModel::getString(std::string_view fullPath, std::string_view valueName) const {
    const RegistryKey* key = findKey(fullPath);
    const RegistryValue* value = key ? key->findValue(valueName) : nullptr;
    if (!value)
        return {};
    return value->isString ? value->data : rawValueText(value->data);
}

bool RegistryModel::setString(std::string_view fullPath, std::string_view valueName,
                              std::string_view text) {
    bool created = false;
    RegistryKey& key = createKey(fullPath, &created);
    return key.setValue(valueName, text) || created;
}

std::string rawValueText(std::string_view raw) {
    constexpr std::string_view dword = "dword:";
    if (raw.substr(0, dword.size()) == dword) {
        uint32_t number = 0;
        for (char c : raw.substr(dword.size())) {
            int digit = hexDigit(c);
            if (digit < 0)
                return {};
            number = number * 16 + static_cast<uint32_t>(digit);
        }
        return std::to_string(number);
    }
    for (std::string_view textual : {"hex(1):", "hex(2):"}) {
        if (raw.substr(0, textual.size()) != textual)
            continue;
        std::string bytes = hexBytes(raw.substr(textual.size()));
        size_t end = 0;
        while (end + 1 < bytes.size() && (bytes[end] != 0 || bytes[end + 1] != 0))
            end += 2;
        return decodeUtf16(std::string_view(bytes).substr(0, end), true);
    }
    return {};
}

} // namespace corvane
