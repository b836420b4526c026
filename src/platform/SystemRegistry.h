// SystemRegistry: the system's own registry, where there is one (Windows: RegOpenKeyExW,
// RegQueryValueExW, RegCreateKeyExW, RegSetValueExW, string values only). POSIX systems have
// none: available() is false there and the program keeps its registry in a file.
#pragma once

#include <optional>
#include <string>

namespace corvane::platform {

// The root keys the program uses.
enum class RegistryHive { CurrentUser, LocalMachine };

// True where the system has a registry.
bool systemRegistryAvailable();
// The string value `valueName` ("" the key's default value) of a key ("Software\Maker\Name");
// nothing when the key or the value does not exist or holds no string.
std::optional<std::string> readRegistryString(RegistryHive hive, const std::string& keyPath,
                                              const std::string& valueName);
// True when the key exists.
bool registryKeyExists(RegistryHive hive, const std::string& keyPath);
// Creates the key and its missing parents; "" on success, else the system's reason.
std::string createRegistryKey(RegistryHive hive, const std::string& keyPath);
// Writes a string value (REG_SZ), creating the key; "" on success, else the system's reason
// ("Access is denied" for a key this user may not change).
std::string writeRegistryString(RegistryHive hive, const std::string& keyPath, const std::string& valueName,
                                const std::string& value);
// Removes a key with everything below it; "" on success or when there is no such key.
std::string removeRegistryKey(RegistryHive hive, const std::string& keyPath);

} // namespace corvane::platform
