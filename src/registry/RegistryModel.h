// RegistryModel: the registry store held in memory, with the Windows semantics the program
// relies on. Keys form a tree under the root keys ("HKEY_CURRENT_USER" ...); key names and
// value names compare without regard to letter case and keep the spelling they were first
// given; creating a key creates its missing parents. Values of types the program does not
// write (dword, hex ...) are kept as the raw text read from the file, so that they are
// written back unchanged.
//
// Full key paths name the root first, separated by backslashes:
// "HKEY_CURRENT_USER\Software\Halvex". A path of the root alone names the root key.
#pragma once

#include "vbruntime/KeyedCollection.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One value of a key.
struct RegistryValue {
    std::string name;     // as first given; "" is the key's default value
    std::string data;     // the text of a string value; for other types the raw text after "="
    bool isString = true; // false for values kept as raw text
};

// One key: its values and its subkeys, both in the order they were first added.
class RegistryKey {
public:
    // A key named `name` (one path component).
    explicit RegistryKey(std::string name) : name_(std::move(name)) {}

    // The key's own name as first given.
    const std::string& name() const noexcept { return name_; }

    // The subkeys in order of creation.
    const KeyedCollection<RegistryKey>& subKeys() const noexcept { return subKeys_; }
    // The subkey of that name, or nullptr.
    const RegistryKey* findSubKey(std::string_view name) const;
    RegistryKey* findSubKey(std::string_view name);
    // The subkey of that name, created when missing; `created` tells whether it was.
    RegistryKey& subKey(std::string_view name, bool* created = nullptr);

    // The values in order of creation.
    const KeyedCollection<RegistryValue>& values() const noexcept { return values_; }
    // The value of that name, or nullptr.
    const RegistryValue* findValue(std::string_view name) const;
    // Stores a value (string or raw); an existing value keeps its name's spelling.
    // Returns true when anything changed.
    bool setValue(std::string_view name, std::string_view data, bool isString = true);

private:
    std::string name_;
    KeyedCollection<RegistryKey> subKeys_;
    KeyedCollection<RegistryValue> values_;
};

// The whole store: the root keys and everything under them.
class RegistryModel {
public:
    // The names of the root keys a store may hold, as regedit spells them.
    static const std::vector<std::string_view>& rootNames();

    // Splits a full key path into its components, the root spelled as in rootNames();
    // nothing when the root is unknown, a component is empty or holds a control character,
    // or the path is deeper than Windows allows (512 levels).
    static std::optional<std::vector<std::string>> splitPath(std::string_view fullPath);

    // The key at a full path, or nullptr; raises VbError 5 for an invalid path.
    const RegistryKey* findKey(std::string_view fullPath) const;
    // The key at a full path, created with its parents when missing; raises VbError 5 for
    // an invalid path. `created` tells whether any key was created.
    RegistryKey& createKey(std::string_view fullPath, bool* created = nullptr);

    // The text of a string value, "" when the key or value is missing. Raw values give their
    // text where it has one: a dword its decimal number, hex(1) and hex(2) their text.
    std::string getString(std::string_view fullPath, std::string_view valueName) const;
    // Stores a string value, creating the key; returns true when anything changed.
    bool setString(std::string_view fullPath, std::string_view valueName, std::string_view text);

    // The root keys present, in order of creation.
    const KeyedCollection<RegistryKey>& roots() const noexcept { return top_.subKeys(); }

private:
    RegistryKey top_{""}; // holds the root keys
};

// The text of a raw value where it has one (see RegistryModel::getString), else "".
std::string rawValueText(std::string_view raw);

} // namespace corvane
