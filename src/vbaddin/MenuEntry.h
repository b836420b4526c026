// MenuEntry: the add-in's one entry in the IDE's "Add-Ins" menu, with its icon.
#pragma once

#include "vbaddin/ComRef.h"

#include <oaidl.h>

#include <string>

namespace corvane::vbaddin {

// The menu entry's caption (string 101 of the program's string table).
inline constexpr wchar_t MenuCaption[] = L"Corvane ...";

// Appends a button captioned `caption` to the IDE's "Add-Ins" menu and gives it the icon
// `bitmap` through the clipboard; returns it. Throws LateBoundFailure where the IDE has no
// such menu or refuses the new entry.
ComRef<IDispatch> AddToAddInCommandBar(IDispatch* vbe, const std::wstring& caption, HBITMAP bitmap);

// Removes the entry; a failure (the IDE already took it away) is ignored.
void deleteMenuEntry(IDispatch* entry);

} // namespace corvane::vbaddin
