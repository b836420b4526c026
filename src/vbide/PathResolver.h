// PathResolver: finds the file a project's path names. Project files were written on
// Windows: backslashes, letter case that differs from the disk, "..\" parts. On a
// case-sensitive file system each part is matched without regard to letter case.
#pragma once

#include "vbide/FolderListings.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace corvane::vbide {

class PathResolver {
public:
    // Resolves paths relative to `base` (the project's folder), reading folders through
    // `listings` when given (shared with the other resolvers of a project), else its own.
    explicit PathResolver(std::filesystem::path base, std::shared_ptr<FolderListings> listings = nullptr)
        : base_(std::move(base)),
          listings_(listings ? std::move(listings) : std::make_shared<FolderListings>()) {}

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

    // The folder listings this resolver reads through, to share with other resolvers.
    const std::shared_ptr<FolderListings>& listings() const noexcept { return listings_; }

private:
    std::string findShortNameEntry(const std::filesystem::path& folder, const std::string& name,
                                   std::string_view preferredStem) const;

    std::filesystem::path base_;
    std::shared_ptr<FolderListings> listings_; // each folder's entries, read once
};

} // namespace corvane::vbide
