#include "vbide/FolderListings.h"

#include "vbruntime/CaseFold.h"

#include <system_error>

namespace corvane::vbide {

namespace fs = std::filesystem;

std::string FolderListings::Listing::find(const std::string& name) const {
    if (auto exact = exactly.find(name); exact != exactly.end())
        return names[exact->second];
    if (auto folded = foldedFirst.find(foldCase(name)); folded != foldedFirst.end())
        return names[folded->second];
    return {};
}

std::shared_ptr<const FolderListings::Listing> FolderListings::of(const fs::path& folder) {
    // The folder is read under the lock: a thread that wants it meanwhile waits for this read
    // rather than reading it again.
    std::lock_guard lock(mutex_);
    if (auto kept = listings_.find(folder.string()); kept != listings_.end())
        return kept->second;
    auto listing = std::make_shared<Listing>();
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const size_t index = listing->names.size();
        listing->names.push_back(it->path().filename().string());
        listing->exactly.emplace(listing->names.back(), index);
        listing->foldedFirst.emplace(foldCase(listing->names.back()), index);
    }
    ++reads_;
    if (keeping_)
        listings_.emplace(folder.string(), listing);
    return listing;
}

void FolderListings::keep() {
    std::lock_guard lock(mutex_);
    keeping_ = true;
}

void FolderListings::release() {
    std::lock_guard lock(mutex_);
    listings_.clear();
    keeping_ = false;
}

size_t FolderListings::reads() const {
    std::lock_guard lock(mutex_);
    return reads_;
}

} // namespace corvane::vbide
