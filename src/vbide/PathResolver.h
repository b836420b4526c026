// PathResolver: finds the file a project's path names. Project files were written on
// Windows: backslashes, letter case that differs from the disk, "..\" parts. On a
// case-sensitive file system each part is matched without regard to letter case.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::vbide {

class PathResolver {
public:
    // Resolves paths relative to `base` (the project's folder).
    explicit PathResolver(std::filesystem::path base) : base_(std::move(base)) {}

    // The file a path (UTF-8, as written in a project file) names: the existing file whose
    // parts match without regard to letter case, else the path as written below the base.
    std::filesystem::path resolve(std::string_view vbPath) const;

    // The path as a project file writes it: relative to the base with backslashes when the
    // file lies below the base, else absolute.
    std::string relativeVbPath(const std::filesystem::path& file) const;

private:
    std::string findEntry(const std::filesystem::path& folder, const std::string& name) const;

    std::filesystem::path base_;
    // folder -> its entries, folded name first (read once per folder)
    mutable std::map<std::string, std::vector<std::pair<std::string, std::string>>> listings_;
};

} // namespace corvane::vbide
