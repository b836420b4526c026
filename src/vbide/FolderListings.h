// FolderListings: the entries of the folders a project's paths pass through, each folder read
// once and shared by every path resolved in the project (the project file's and every
// designer's). A project of hundreds of forms in one crowded folder would otherwise read that
// folder, and keep its entries, once for every form. Safe to use from several threads: the
// designers are read on background threads. A folder read while the listings are not kept (after
// release(), until keep()) is read for that one look-up: a designer that finds a file long after
// the project was read sees the folder as it is then.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane::vbide {

class FolderListings {
public:
    // A folder's entries as read once: each is looked up by name, not by a walk over the others.
    struct Listing {
        std::vector<std::string> names;                      // in the folder's order
        std::unordered_map<std::string, size_t> exactly;     // name -> its place
        std::unordered_map<std::string, size_t> foldedFirst; // folded name -> the first such place

        // The entry named `name`: exactly that name first, then the first in another letter
        // case; empty when there is none.
        std::string find(const std::string& name) const;
    };

    // The entries of `folder`, read on first use; an empty or unreadable folder has none.
    std::shared_ptr<const Listing> of(const std::filesystem::path& folder);
    // Keeps each folder's listing from its first read on (as a new object does).
    void keep();
    // Lets every listing go and keeps none until keep(): once the files a project names are
    // found, the entries of their folders are not needed any more.
    void release();
    // How many times a folder was read since this object was made.
    size_t reads() const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<const Listing>> listings_; // by the folder's path
    size_t reads_ = 0;
    bool keeping_ = true;
};

} // namespace corvane::vbide
