#include "helpdata/DataFileCheckAhead.h"

#include "files/RegularFile.h"
#include "platform/SystemFiles.h"

#include <system_error>

namespace corvane {

namespace {

// Parts enough that the caller, coming to finish(), finds some not yet begun to share.
constexpr size_t Parts = 16;

std::atomic<bool> comparesAtStart{false};

} // namespace

DataFileCheckAhead::DataFileCheckAhead(HelpDataSettings& settings, const ModuleRecords& forms,
                                       const NameList& formNames, std::filesystem::path file)
    : comparison_(settings, forms, formNames), file_(std::move(file)) {
    fd_ = openIfRegularFile(file_);
    if (fd_ < 0)
        return;
    stamp_ = FileStamp::of(fd_);
    if (!stamp_ || stamp_->size < HelpDataComparison::WorthFrom)
        return;
    size_ = static_cast<size_t>(stamp_->size);
    if (comparesAtStart) {
        splitAndCompare();
        return;
    }
    try {
        thread_ = std::thread([this] { splitAndCompare(); });
    } catch (const std::system_error&) {
        splitAndCompare(); // no thread to be had: compared here
    }
}

// The file is cut on the thread too: finding the module starts reads a window of the file at
// each cut.
void DataFileCheckAhead::splitAndCompare() {
    parts_ = comparison_.split(fd_, size_, Parts);
    split_.count_down();
    compareParts();
}

DataFileCheckAhead::~DataFileCheckAhead() {
    stop();
    if (fd_ >= 0)
        platform::closeFile(fd_);
}

std::optional<FileStamp> DataFileCheckAhead::finish() {
    if (size_ == 0)
        return std::nullopt; // nothing was compared
    split_.wait();
    compareParts();
    if (thread_.joinable())
        thread_.join();
    if (parts_.empty() || differs_)
        return std::nullopt;
    return stamp_;
}

// Takes the parts no thread has begun, one at a time, until none is left or one differs.
void DataFileCheckAhead::compareParts() {
    for (size_t part = nextPart_++; part < parts_.size() && !differs_; part = nextPart_++) {
        bool matches = false;
        try {
            matches = comparison_.partMatches(fd_, parts_, part, size_, differs_);
        } catch (...) {
            matches = false; // not known to be the same: the save compares again
        }
        if (!matches)
            differs_ = true;
    }
}

bool setDataFileCheckAtStart(bool atStart) {
    return comparesAtStart.exchange(atStart);
}

void DataFileCheckAhead::stop() {
    differs_ = true;
    if (thread_.joinable())
        thread_.join();
}

} // namespace corvane
