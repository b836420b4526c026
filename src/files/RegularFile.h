// RegularFile: every file the program reads is a regular file (or a link to one), and finding
// that out never blocks.
//
// Opening a FIFO for reading waits until something writes to it, and a device such as
// /dev/zero never ends: a project, data or exchange file that is one would hang or exhaust
// the program. So a file is opened with O_NONBLOCK (the open of a FIFO returns at once), its
// kind is read from the open descriptor (fstat, no race with a rename), and anything but a
// regular file is closed and refused with a message that names the file and what it is. The
// descriptor returned reads in the usual blocking way.
#pragma once

#include "platform/SystemFiles.h"

#include <filesystem>
#include <string>

namespace corvane {

// Opens `path` for reading when it is a regular file; -1 (errno ENOENT) when nothing exists
// there. Raises VbError 75 naming the file for one that is not regular ("... is a FIFO (named
// pipe), not a regular file") or that cannot be opened.
int openRegularFileIfExists(const std::filesystem::path& path);

// Opens `path` for reading like openRegularFileIfExists; VbError 53 naming the file when it
// does not exist.
int openRegularFile(const std::filesystem::path& path);

// Opens `path` for reading when it is a regular file that can be opened, else -1: for reading
// a file only to compare it (a missing or odd file then simply differs).
int openIfRegularFile(const std::filesystem::path& path) noexcept;

// Refuses, with VbError 75 naming the file, a path that exists and is not a regular file; for
// libraries that open a file by its name themselves (Hunspell, chmlib, streams). A missing
// file passes: the caller finds and reports that as before. Never blocks (stat).
void checkRegularFile(const std::filesystem::path& path);

// The kind of file, in words for messages ("a FIFO (named pipe)", "a folder").
std::string fileKindText(platform::FileKind kind);

} // namespace corvane
