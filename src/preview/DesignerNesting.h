// DesignerNesting: which container each control of a designer lies in. The IDE model hands
// out a designer's controls depth first, without their containers; the designer's file keeps
// them as nested Begin ... End blocks. Only the ASCII keywords at the start of lines are read,
// which no code page changes.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace corvane::preview {

// The nesting depth of every control block of a designer file, in file order (the order of
// VBControls): 1 for a control on the designer itself, 2 inside a container placed there ...
std::vector<int> controlDepths(std::string_view fileBytes);
// The same for a file on disk; nothing when it cannot be read.
std::optional<std::vector<int>> controlDepthsOfFile(const std::filesystem::path& file);

} // namespace corvane::preview
