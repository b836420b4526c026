// Registration: the keys and the vbaddin.ini entry that let Windows create the connect object
// and the IDE list and load it, for the current user only (no administrator needed); and
// their removal, which leaves the registry and vbaddin.ini as they were.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::vbaddin {

// Writes the class, its ProgID and the IDE's add-in entry for the DLL at `dllPath`.
HRESULT registerAddin(const std::wstring& dllPath);
// Removes what registerAddin wrote, and the keys and section it made that are empty now.
HRESULT unregisterAddin();

} // namespace corvane::vbaddin
