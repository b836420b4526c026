// WindowsErrors: the errno that stands for a Windows error code, so that the program words the
// failures of both systems alike.
#pragma once

#ifdef _WIN32

namespace corvane::platform {

// The errno closest to the Windows error `code` (GetLastError()); EIO for one without.
int errnoOf(unsigned long code);

} // namespace corvane::platform

#endif
