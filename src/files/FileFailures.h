// FileFailures: the errors the file operations raise, and the test seam that makes one of their
// steps fail.
//
// Every failure is VbError 75 (path/file access) whose description names the file and the
// reason the system gave; a file being saved whose folder is missing or refuses new files is
// told as such. Tests install an injector that makes a chosen step fail as if the system had
// returned an errno, to show that each failure leaves the user's file as it was.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace corvane {

// The steps of a commit, in order, and the reading of a whole file (for fault injection in tests).
enum class AtomicStep { Lock, CreateTemporary, Write, Flush, Rename, SyncFolder, Unlock, Read };

// A test seam: called before each step of every commit with the step and the file it acts
// on; a non-zero result makes that step fail as if the system had returned that errno.
using AtomicFaultInjector = std::function<int(AtomicStep step, const std::filesystem::path& file)>;
// Installs the injector (an empty function removes it); returns the one installed before.
AtomicFaultInjector setAtomicFaultInjector(AtomicFaultInjector injector);
// The errno the installed injector gives `step` on `file` (0: none).
int injectedFault(AtomicStep step, const std::filesystem::path& file);
// True, with errno set, when the installed injector makes `step` on `file` fail; the step is
// then not taken.
bool stepFaulted(AtomicStep step, const std::filesystem::path& file);

// The folder that holds `path` ("." for a bare name).
std::filesystem::path folderOf(const std::filesystem::path& path);

// Raises VbError 75 "Cannot WHAT 'PATH': REASON" for the errno `error`.
[[noreturn]] void failFileStep(const std::filesystem::path& path, const std::string& what, int error);
// Raises VbError 75 for a file that could not be made beside `target` (`made`: a temporary
// file or the lock): a missing or unreachable folder and a read-only folder are named as what
// they are, with the file being saved; any other failure names `made` and the reason.
[[noreturn]] void failToCreateBeside(const std::filesystem::path& target, const std::filesystem::path& made,
                                     int error);
// Raises VbError 75 for a save of `target` whose folder `folder` is missing or cannot be reached.
[[noreturn]] void failUnreachableFolder(const std::filesystem::path& target, const std::filesystem::path& folder,
                                        int error);

} // namespace corvane
