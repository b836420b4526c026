// SafeFileName: a name taken from a project's files (the project's name, a language's name)
// made fit to be one file or folder name inside the folder it belongs to.
//
// Project files come from other people; a name in them must never lead a generated file out
// of its folder or onto a device. The mapping keeps the user's compile working instead of
// refusing it: each character that could not stand in a file name on Windows or here becomes
// "_": path separators ("/" and "\"), the drive and stream separator ":", control characters,
// and < > " | ? *. Dots at the start of a name are replaced ("." and ".." name folders, and
// a leading dot hides a file), and so are dots and spaces at its end (Windows drops them). A
// reserved device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any letter case,
// with or without an extension) gets "_" after its stem ("CON" -> "CON_", "nul.txt" ->
// "nul_.txt"). An empty name becomes "_".
// A name that needs none of this is returned as it is, and the mapping of a mapped name is
// the name itself.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// `name` as one safe file name (see above).
std::string safeFileName(std::string_view name);

// Why `name` cannot be a file name as it is, in a few words ("it holds a path separator");
// "" when it can.
std::string unsafeFileNameReason(std::string_view name);

} // namespace corvane
