#include "vbide/DesignerReader.h"

#include "vbide/VBComponent.h"

#include <algorithm>
#include <exception>

namespace corvane::vbide {

namespace {

// Below this many components per thread, another thread costs more than it saves.
constexpr size_t ComponentsPerThread = 8;

} // namespace

DesignerReader::DesignerReader(std::vector<std::shared_ptr<VBComponent>> components, int codePage,
                               std::shared_ptr<const ControlTypeTable> table,
                               std::shared_ptr<FolderListings> listings)
    : components_(std::move(components)), codePage_(codePage), table_(std::move(table)),
      reads_(components_.size()), listings_(std::move(listings)) {
    if (components_.empty() && listings_)
        listings_->release();
    for (size_t i = 0; i < components_.size(); ++i)
        components_[i]->readInBackground(reads_[i].get_future().share());
    size_t cores = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
    size_t threads = std::min(cores, components_.size() / ComponentsPerThread + 1);
    try {
        for (size_t t = 0; t < threads; ++t)
            threads_.emplace_back([this] { readNext(); });
    } catch (const std::system_error&) {
        if (threads_.empty())
            readNext(); // no thread to be had: read them here and now
    }
}

DesignerReader::~DesignerReader() {
    for (auto& thread : threads_)
        thread.join();
}

void DesignerReader::readNext() {
    for (size_t i = next_++; i < components_.size(); i = next_++) {
        try {
            components_[i]->readContent(codePage_, table_);
            reads_[i].set_value();
        } catch (...) {
            reads_[i].set_exception(std::current_exception());
        }
        finishOne();
    }
}

void DesignerReader::finishOne() {
    // Every read took what it needed from the listings before it finished.
    if (++finished_ == components_.size() && listings_)
        listings_->release();
}

} // namespace corvane::vbide
