// PathResolver: finds the file a project's path names. Project files were written on
// Windows: backslashes, letter case that differs from the disk, "..\" parts. On a
// case-sensitive file system each part is matched without regard to letter case.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane::vbide {

class PathResolver {
public:
    // Resolves paths relative to `base` (the project's folder).
    explicit PathResolver(std::filesystem::path base) : base_(std::move(base)) {}

    // The file a path (UTF-8, as written in a project file) names: the existing file whose
    // parts match without regard to letter case, else the path as written below the base.
    // A part that is an 8.3 short name ("ACTXCT~1.ctx") and names no entry stands for the one
    // entry Windows may have given that short name; among several, for the one whose stem is
    // `preferredStem` (a form's .frx has the form's stem).
    std::filesystem::path resolve(std::string_view vbPath, std::string_view preferredStem = {}) const;

    // The path as a project file writes it: relative to the base with backslashes when the
    // file lies below the base, else absolute.
    std::string relativeVbPath(const std::filesystem::path& file) const;

    // True when Windows may have given `longName` the 8.3 short name `shortName`: the short
    // name's part before "~N" begins the long name's base (blanks and dots left out) and its
    // extension begins the long name's, letter case ignored.
    static bool isShortNameOf(std::string_view shortName, std::string_view longName);

private:
    // A folder's entries as read once: a project names hundreds of files in one folder, and
    // each is looked up by name, not by a walk over the others.
    struct Listing {
        std::vector<std::string> names;                      // in the folder's order
        std::unordered_map<std::string, size_t> exactly;     // name -> its place
        std::unordered_map<std::string, size_t> foldedFirst; // folded name -> the first such place
    };
    const Listing& listingOf(const std::filesystem::path& folder) const;
    std::string findEntry(const std::filesystem::path& folder, const std::string& name) const;
    std::string findShortNameEntry(const std::filesystem::path& folder, const std::string& name,
                                   std::string_view preferredStem) const;

    std::filesystem::path base_;
    // folder -> its entries (read once per folder)
    mutable std::map<std::string, Listing> listings_;
};

} // namespace corvane::vbide
