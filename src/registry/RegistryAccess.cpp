#include "registry/RegistryAccess.h"

#include "files/AppPaths.h"
#include "files/RegularFile.h"
#include "platform/SystemFiles.h"
#include "platform/SystemRegistry.h"
#include "registry/RegFile.h"
#include "vbruntime/VbError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace corvane {

namespace {

[[noreturn]] void fail(const std::filesystem::path& file, const std::string& what, int error) {
    throw VbError(vberr::PathFileAccess,
                  "Cannot " + what + " registry file '" + file.string() +
                      "': " + std::strerror(error),
                  file.string());
}

// The store open for reading, or -1 when there is none yet; a store that cannot be opened or
// is no regular file (a FIFO would block every start) is a registry failure naming the file.
int openRegistryFile(const std::filesystem::path& file) {
    try {
        return openRegularFileIfExists(file);
    } catch (const VbError& failure) {
        throw VbError(vberr::PathFileAccess, "The registry file cannot be read: " + failure.description(),
                      file.string());
    }
}

// Closes a file descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            platform::closeFile(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const noexcept { return fd_; }

private:
    int fd_;
};

// Holds an exclusive lock on "<file>.lock" for the lifetime of the object; the lock goes
// with the process, so a writer that is killed never blocks the others.
class WriteLock {
public:
    explicit WriteLock(const std::filesystem::path& file)
        : lockFile_(std::filesystem::path(file) += ".lock"),
          fd_(platform::openForUpdate(lockFile_, true, false)) {
        if (fd_.get() < 0)
            fail(lockFile_, "create the lock of the", errno);
        if (int error = platform::lockFile(fd_.get(), platform::LockMode::Exclusive, true); error != 0)
            fail(lockFile_, "lock the", error);
    }

private:
    std::filesystem::path lockFile_;
    Descriptor fd_;
};

std::string readAll(int fd, const std::filesystem::path& file) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        long long n = platform::readSome(fd, buffer, sizeof buffer);
        if (n == 0)
            return bytes;
        if (n < 0)
            fail(file, "read the", errno);
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

platform::RegistryHive hiveOf(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? platform::RegistryHive::CurrentUser
                                             : platform::RegistryHive::LocalMachine;
}

// A change of the system's registry that it refused: the key named, and why.
void checkSystemChange(const std::string& refusal, RegistryRoot root, std::string_view keyPath) {
    if (refusal.empty())
        return;
    const std::string key = std::string(rootKeyName(root)) + "\\" + std::string(keyPath);
    throw VbError(vberr::PathFileAccess,
                  "Cannot change the registry key '" + key + "': " + refusal +
                      (root == RegistryRoot::LocalMachine ? ". Run the program as an administrator to change it." : "."),
                  key);
}

std::string fullKeyPath(RegistryRoot root, std::string_view keyPath) {
    std::string path(rootKeyName(root));
    if (!keyPath.empty())
        path.append("\\").append(keyPath);
    return path;
}

} // namespace

std::string_view rootKeyName(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

RegistryAccess::RegistryAccess(std::filesystem::path file) : file_(std::move(file)) {}

std::string RegistryAccess::GetValue(RegistryRoot root, std::string_view keyPath,
                                     std::string_view valueName) const {
    if (file_.empty())
        return platform::readRegistryString(hiveOf(root), std::string(keyPath), std::string(valueName)).value_or("");
    return current().getString(fullKeyPath(root, keyPath), valueName);
}

void RegistryAccess::SetValue(RegistryRoot root, std::string_view keyPath,
                              std::string_view valueName, std::string_view value, int type) {
    if (type != REG_SZ)
        throw VbError(vberr::InvalidCall,
                      "Unsupported registry value type " + std::to_string(type) + " (only REG_SZ)");
    if (file_.empty()) {
        checkSystemChange(platform::writeRegistryString(hiveOf(root), std::string(keyPath), std::string(valueName),
                                                        std::string(value)),
                          root, keyPath);
        return;
    }
    std::string path = fullKeyPath(root, keyPath);
    if (alreadyHolds(path, valueName, value))
        return;
    change([&](RegistryModel& model) { return model.setString(path, valueName, value); });
}

// Read without the lock, from the content as it stands (the cache is checked against the file):
// a value already stored needs no lock, no second read and no write. Anything that keeps the
// answer from being sure (a malformed file, a path it cannot take, a read that fails) leaves it
// to the store under the lock, which reports it.
bool RegistryAccess::alreadyHolds(const std::string& path, std::string_view valueName,
                                  std::string_view value) const {
    try {
        const RegistryModel& model = current();
        if (!problem_.empty())
            return false;
        const RegistryKey* key = model.findKey(path);
        const RegistryValue* stored = key ? key->findValue(valueName) : nullptr;
        return stored && stored->isString && stored->data == value;
    } catch (...) {
        return false;
    }
}

void RegistryAccess::CreateKey(RegistryRoot root, std::string_view keyPath) {
    if (file_.empty()) {
        checkSystemChange(platform::createRegistryKey(hiveOf(root), std::string(keyPath)), root, keyPath);
        return;
    }
    std::string path = fullKeyPath(root, keyPath);
    change([&](RegistryModel& model) {
        bool created = false;
        model.createKey(path, &created);
        return created;
    });
}

bool RegistryAccess::KeyExists(RegistryRoot root, std::string_view keyPath) const {
    if (file_.empty())
        return keyPath.empty() || platform::registryKeyExists(hiveOf(root), std::string(keyPath));
    const RegistryModel& model = current(); // a malformed file fails here, even for a root
    if (keyPath.empty())
        return true; // the root keys always exist, as in Windows
    return model.findKey(fullKeyPath(root, keyPath)) != nullptr;
}

const RegistryModel& RegistryAccess::current() const {
    Descriptor fd(openRegistryFile(file_));
    if (fd.get() < 0) {
        cache_ = RegistryModel();
        cacheStamp_.reset();
        problem_.clear();
        return cache_;
    }
    const std::optional<FileStamp> stamp = FileStamp::of(fd.get());
    if (!stamp)
        fail(file_, "examine the", errno);
    if (cacheStamp_ == stamp)
        return cache_;
    std::vector<std::string> problems;
    RegistryModel model =
        parseSoundRegistryText(readAll(fd.get(), file_), file_.string(), problems);
    problem_.clear();
    for (const std::string& text : problems)
        problem_ += (problem_.empty() ? "" : "\n") + text;
    cache_ = std::move(model);
    cacheStamp_ = stamp;
    return cache_;
}

std::string RegistryAccess::problem() const {
    if (file_.empty())
        return {}; // the system keeps its registry sound
    current();
    return problem_;
}

std::string RegistryAccess::takeProblem() {
    if (file_.empty())
        return {};
    current();
    if (problem_.empty() || reportedStamp_ == cacheStamp_)
        return {};
    reportedStamp_ = cacheStamp_;
    return problem_;
}

template <typename Change> void RegistryAccess::change(Change&& apply) {
    std::error_code error;
    if (file_.has_parent_path() && !std::filesystem::is_directory(file_.parent_path())) {
        std::filesystem::create_directories(file_.parent_path(), error);
        if (error)
            fail(file_, "create the folder of the", error.value());
    }
    WriteLock lock(file_);
    cacheStamp_.reset(); // under the lock, always read what the last writer left
    RegistryModel model = current();
    if (!problem_.empty())
        throw VbError(vberr::PathFileAccess,
                      "The registry file '" + file_.string() +
                          "' is malformed, so nothing is stored in it " +
                          "(storing would drop what cannot be read): " + problem_,
                      file_.string());
    if (!apply(model))
        return;
    writeRegistryFile(file_, model);
    // The next read finds the file changed and parses it again: the stamp of the new file
    // is only known from the disk, and parsing our own small file is cheap.
}

RegistryAccess& registry() {
    static std::mutex mutex;
    static std::map<std::filesystem::path, std::unique_ptr<RegistryAccess>> stores;
    const char* variable = std::getenv("CORVANE_REGISTRY");
    std::filesystem::path file = variable && *variable ? std::filesystem::path(variable)
                                 : platform::systemRegistryAvailable() ? std::filesystem::path()
                                                                       : userConfigDirectory() / "registry.reg";
    std::lock_guard<std::mutex> guard(mutex);
    auto& store = stores[file];
    if (!store)
        store = std::make_unique<RegistryAccess>(file);
    return *store;
}

} // namespace corvane
