// RegistryAccess: the program's registry, a store with the Windows semantics the program
// relies on, kept in one registry file (format: RegFile.h).
//
// Several processes may use the same file. A change takes an exclusive lock (flock on
// "<file>.lock"), reads the file afresh, applies the change and replaces the file through
// AtomicFile before it unlocks, so that concurrent writers lose nothing and a writer killed
// at any moment leaves the old or the new content. Reads take no lock (the file is only ever
// replaced whole) and reuse the last parsed content while the file's identity, size and
// times are unchanged.
//
// On Windows the program's registry is the system's own (SystemRegistry.h) unless
// CORVANE_REGISTRY names a file: a store made with an empty file name reads and writes the
// system's registry, where a value this user may not change raises VbError 75 naming the key.
//
// A malformed file is read as far as it is sound (malformed lines are skipped) and never
// blocks a read; takeProblem() hands its description out once per content, for one message.
// A change to it raises VbError 75 naming the file and the line and leaves it as it was: the
// rewrite would drop the lines it could not read. A missing file is an empty store; the first
// change creates it and its folder.
#pragma once

#include "files/FileStamp.h"
#include "registry/RegistryModel.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The registry's root keys that the program uses.
enum class RegistryRoot {
    CurrentUser,  // HKEY_CURRENT_USER
    LocalMachine, // HKEY_LOCAL_MACHINE
};

// The value type of a string value, the only type the program writes.
constexpr int REG_SZ = 1;

// The name of a root key as the registry file spells it ("HKEY_CURRENT_USER").
std::string_view rootKeyName(RegistryRoot root);

class RegistryAccess {
public:
    // A store kept in `file` (the file need not exist yet); an empty `file` stands for the
    // system's registry, where the system has one.
    explicit RegistryAccess(std::filesystem::path file);

    // The registry file (empty for the system's registry).
    const std::filesystem::path& file() const noexcept { return file_; }

    // The value stored under the key, or "" when nothing is stored; valueName "" reads the
    // key's default value. Key paths use backslashes ("Software\Halvex\Corvane").
    std::string GetValue(RegistryRoot root, std::string_view keyPath,
                         std::string_view valueName) const;

    // Writes a string value, creating missing keys; only REG_SZ is accepted (else VbError 5).
    void SetValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                  std::string_view value, int type = REG_SZ);

    // Creates the key and its missing parents; an existing key and its values stay unchanged.
    void CreateKey(RegistryRoot root, std::string_view keyPath);

    // True when the key exists (a parent of a stored key exists too; keyPath "" names the
    // root, which always exists).
    bool KeyExists(RegistryRoot root, std::string_view keyPath) const;

    // What is wrong with the file ("" when it is sound or missing): the malformed lines.
    std::string problem() const;
    // problem() the first time it is asked for a given content of the file, "" after that: so
    // that a malformed file is reported once, not at every read.
    std::string takeProblem();

private:
    const RegistryModel& current() const;
    bool alreadyHolds(const std::string& path, std::string_view valueName, std::string_view value) const;
    template <typename Change> void change(Change&& apply);

    std::filesystem::path file_;
    mutable RegistryModel cache_;
    mutable std::optional<FileStamp> cacheStamp_; // nothing: the cache holds no file's content
    mutable std::string problem_;                 // what is malformed in the cached content
    std::optional<FileStamp> reportedStamp_;      // the content whose problem was taken
};

// The program's registry: the file named by $CORVANE_REGISTRY when set, else the system's
// registry where there is one (Windows), else userConfigDirectory()/"registry.reg". The variable is looked at on every call, so tests
// may change it; each file keeps its own store for the rest of the process.
RegistryAccess& registry();

} // namespace corvane
