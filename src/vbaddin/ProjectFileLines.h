// ProjectFileLines: the few settings of a VB6 project file (.vbp) the add-in passes on to the
// IDE: the help file and the related documents.
#pragma once

#include <string>
#include <vector>

namespace corvane::vbaddin {

// The value of the first line `key=value` of `text` (the quotes around it taken off), in
// the system's ANSI code page as the IDE writes it; empty where there is no such line.
std::wstring projectValue(const std::string& text, const std::string& key);

// The values of every line `key=value` of `text`, in order.
std::vector<std::wstring> projectValues(const std::string& text, const std::string& key);

// Reads a whole file; empty where it cannot be read.
std::string readWholeFile(const std::wstring& path);

} // namespace corvane::vbaddin
