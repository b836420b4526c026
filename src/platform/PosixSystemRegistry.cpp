// POSIX systems have no registry of their own: the program keeps its registry in a file.
#ifndef _WIN32

#include "platform/SystemRegistry.h"

namespace corvane::platform {

namespace {
constexpr const char* NoRegistry = "this system has no registry";
} // namespace

bool systemRegistryAvailable() { return false; }

std::optional<std::string> readRegistryString(RegistryHive, const std::string&, const std::string&) {
    return std::nullopt;
}

bool registryKeyExists(RegistryHive, const std::string&) { return false; }

std::string createRegistryKey(RegistryHive, const std::string&) { return NoRegistry; }

std::string writeRegistryString(RegistryHive, const std::string&, const std::string&, const std::string&) {
    return NoRegistry;
}

std::string removeRegistryKey(RegistryHive, const std::string&) { return NoRegistry; }

} // namespace corvane::platform

#endif
