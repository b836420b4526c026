// AddinModule: the DLL's own state: its module handle, the count of living objects and
// locks that decides whether it may be unloaded, and the connect class's identity.
#pragma once

#include <windows.h>

namespace corvane::vbaddin {

// {6F1B6D52-3C1E-4E8A-9B57-2D0C4A7E31C5}: the class identifier of the connect object.
inline constexpr CLSID ClsidWizard = {0x6F1B6D52, 0x3C1E, 0x4E8A, {0x9B, 0x57, 0x2D, 0x0C, 0x4A, 0x7E, 0x31, 0xC5}};
// The programmatic identifier the IDE finds the add-in by.
inline constexpr wchar_t ProgId[] = L"Corvane.Wizard";

// The DLL's module handle (set when Windows loads it).
HMODULE addinModule();
// Counts an object or a server lock in, and out again; the DLL unloads at zero.
void objectCreated();
void objectDestroyed();
// Whether no object and no lock is alive.
bool unloadable();

} // namespace corvane::vbaddin
