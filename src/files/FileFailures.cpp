#include "files/FileFailures.h"

#include "vbruntime/VbError.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace corvane {

namespace fs = std::filesystem;

namespace {

AtomicFaultInjector& faultInjector() {
    static AtomicFaultInjector injector;
    return injector;
}

} // namespace

fs::path folderOf(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

AtomicFaultInjector setAtomicFaultInjector(AtomicFaultInjector injector) {
    std::swap(faultInjector(), injector);
    return injector;
}

int injectedFault(AtomicStep step, const fs::path& file) {
    const AtomicFaultInjector& injector = faultInjector();
    return injector ? injector(step, file) : 0;
}

bool stepFaulted(AtomicStep step, const fs::path& file) {
    const int error = injectedFault(step, file);
    if (error != 0)
        errno = error;
    return error != 0;
}

void failFileStep(const fs::path& path, const std::string& what, int error) {
    throw VbError(vberr::PathFileAccess, "Cannot " + what + " '" + path.string() + "': " + std::strerror(error),
                  path.string());
}

void failUnreachableFolder(const fs::path& target, const fs::path& folder, int error) {
    throw VbError(vberr::PathFileAccess,
                  "Cannot save '" + target.string() + "': its folder '" + folder.string() +
                      "' does not exist or cannot be reached (" + std::strerror(error) + ")",
                  target.string());
}

void failToCreateBeside(const fs::path& target, const fs::path& made, int error) {
    const fs::path folder = folderOf(target);
    if (error == ENOENT || error == ENOTDIR)
        failUnreachableFolder(target, folder, error);
    if (error == EACCES || error == EPERM || error == EROFS)
        throw VbError(vberr::PathFileAccess,
                      "Cannot write '" + target.string() + "': its folder '" + folder.string() + "' is " +
                          (error == EROFS ? "on a read-only file system" : "read-only") + " (" +
                          std::strerror(error) + ")",
                      target.string());
    failFileStep(made, "create", error);
}

} // namespace corvane
