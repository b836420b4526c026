// DesignerReader: reads the files of a project's components on background threads while the
// program goes on, so that opening a large project does not wait for every form to be parsed.
//
// The components are read in project order by as many threads as the machine has cores (at
// most four); each component waits for its own read when it is asked for anything its file
// decides (see VBComponent::readInBackground), so a caller walking the components in order
// works on the first ones while later ones are still being read. Once the last one is read,
// the folder listings the reads shared are let go. A read touches only its own
// component and the control type table, which guards the one cache it fills. Destroying the
// reader waits for the reads under way; reads not started yet are done first.
#pragma once

#include "vbide/ControlTypeTable.h"
#include "vbide/FolderListings.h"

#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace corvane::vbide {

class VBComponent;

class DesignerReader {
public:
    // Starts reading the components' files; `listings`, when given, are released once all are read.
    DesignerReader(std::vector<std::shared_ptr<VBComponent>> components, int codePage,
                   std::shared_ptr<const ControlTypeTable> table, std::shared_ptr<FolderListings> listings = nullptr);
    DesignerReader(const DesignerReader&) = delete;
    DesignerReader& operator=(const DesignerReader&) = delete;
    // Waits until every component has been read.
    ~DesignerReader();

private:
    void readNext();
    void finishOne(); // lets the listings go after the last read

    std::vector<std::shared_ptr<VBComponent>> components_;
    int codePage_;
    std::shared_ptr<const ControlTypeTable> table_;
    std::vector<std::promise<void>> reads_; // one per component, kept by its index
    std::shared_ptr<FolderListings> listings_;
    std::atomic<size_t> next_{0};
    std::atomic<size_t> finished_{0};
    std::vector<std::thread> threads_;
};

} // namespace corvane::vbide
