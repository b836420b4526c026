// DesignerReader: reads the files of a project's components on background threads while the
// program goes on, so that opening a large project does not wait for every form to be parsed.
//
// The components are read in project order by as many threads as the machine has cores (at
// most four); each component waits for its own read when it is asked for anything its file
// decides (see VBComponent::readInBackground), so a caller walking the components in order
// works on the first ones while later ones are still being read. A read touches only its own
// component and the control type table, which guards the one cache it fills. Destroying the
// reader waits for the reads under way; reads not started yet are done first.
#pragma once

#include "vbide/ControlTypeTable.h"

#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace corvane::vbide {

class VBComponent;

class DesignerReader {
public:
    // Starts reading the components' files.
    DesignerReader(std::vector<std::shared_ptr<VBComponent>> components, int codePage,
                   std::shared_ptr<const ControlTypeTable> table);
    DesignerReader(const DesignerReader&) = delete;
    DesignerReader& operator=(const DesignerReader&) = delete;
    // Waits until every component has been read.
    ~DesignerReader();

private:
    void readNext();

    std::vector<std::shared_ptr<VBComponent>> components_;
    int codePage_;
    std::shared_ptr<const ControlTypeTable> table_;
    std::vector<std::promise<void>> reads_; // one per component, kept by its index
    std::atomic<size_t> next_{0};
    std::vector<std::thread> threads_;
};

} // namespace corvane::vbide
