// The Windows implementation of AppFolders.h (the user's application data folders).
#ifdef _WIN32

#include "platform/AppFolders.h"

#include <cstdlib>
#include <string>
#include <windows.h>

namespace corvane::platform {

namespace {

std::filesystem::path folderOr(const char* name, const char* fallbackName) {
    auto folder = environmentPath(name);
    if (folder.empty())
        folder = environmentPath(fallbackName);
    if (folder.empty())
        folder = std::filesystem::temp_directory_path();
    return folder;
}

} // namespace

std::filesystem::path environmentPath(const char* name) {
    // The wide environment: the narrow one is in the ANSI code page.
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = ::_wgetenv(wideName.c_str());
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

void setEnvironmentVariable(const char* name, const char* value) {
    // The C runtime's copy, which getenv reads, and the system's, which children inherit.
    ::_putenv_s(name, value ? value : "");
    ::SetEnvironmentVariableA(name, value);
}

bool runsAsAdministrator() {
    BOOL member = FALSE;
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (::AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                   0, 0, &administrators)) {
        ::CheckTokenMembership(nullptr, administrators, &member);
        ::FreeSid(administrators);
    }
    return member != FALSE;
}

std::filesystem::path userDataBase() { return folderOr("LOCALAPPDATA", "APPDATA"); }

std::filesystem::path userConfigBase() { return folderOr("APPDATA", "LOCALAPPDATA"); }

} // namespace corvane::platform

#endif
