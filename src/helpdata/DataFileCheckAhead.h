// DataFileCheckAhead: whether the help data file already holds the save of the records, found
// on a thread of its own while the caller goes on with other work, for the save that follows.
//
// A creation run ends with a save that, on a project compiled before, writes the bytes the
// data file already holds: the save then writes nothing, but comparing a file of megabytes
// takes about as long as writing it. Once the languages are generated, the records stay as they
// are until the save (unless a context number is taken back), so the comparison can run while
// the run flushes its files, which mostly waits for the disk, and sets the control properties:
//
//   DataFileCheckAhead ahead(settings, forms, formNames, file);   // starts comparing
//   ... work that changes neither the records nor the settings ...
//   std::optional<FileStamp> holding = ahead.finish();       // helps with the rest, waits
//   dataFile.save(forms, formNames, file, holding);           // trusts it for that version only
//
// The thread cuts the file into parts at module starts (HelpDataComparison) and compares them
// one after another; finish() takes the parts not yet begun on the calling thread too. The
// answer names the version of the file that was compared (FileStamp): the save, under the
// file's lock, trusts it only while that version is still in place, and compares again
// otherwise. A small or missing file is not compared ahead (finish() answers nothing).
//
// Until finish() or the destructor returns, the records and the settings must not change, and
// they must outlive the object. A caller that must change them first destroys it: the thread
// stops after the part it is comparing.
#pragma once

#include "files/FileStamp.h"
#include "helpdata/HelpDataComparison.h"

#include <atomic>
#include <filesystem>
#include <latch>
#include <optional>
#include <thread>
#include <vector>

namespace corvane {

class DataFileCheckAhead {
public:
    // Starts comparing `file` with the save of `forms` (named by `formNames`) under `settings`.
    DataFileCheckAhead(HelpDataSettings& settings, const ModuleRecords& forms, const NameList& formNames,
                       std::filesystem::path file);
    // Stops comparing and waits for the thread.
    ~DataFileCheckAhead();
    DataFileCheckAhead(const DataFileCheckAhead&) = delete;
    DataFileCheckAhead& operator=(const DataFileCheckAhead&) = delete;

    // The file being compared.
    const std::filesystem::path& file() const { return file_; }
    // Compares what is left on this thread too and waits for the other: the version of the file
    // that holds exactly the save of the records, or nothing when it does not (or cannot be told).
    std::optional<FileStamp> finish();

private:
    void splitAndCompare();
    void compareParts();
    void stop();

    HelpDataComparison comparison_;
    std::filesystem::path file_;
    int fd_ = -1;
    size_t size_ = 0;
    std::optional<FileStamp> stamp_;
    std::vector<HelpDataComparison::Piece> parts_; // set once, before split_ is counted down
    std::latch split_{1};
    std::atomic<size_t> nextPart_{0};
    std::atomic<bool> differs_{false};
    std::thread thread_;
};

// For tests: with true, every comparison ends before its constructor returns (no thread), so that
// it reads the records exactly as they are when it starts; the setting before.
bool setDataFileCheckAtStart(bool atStart);

} // namespace corvane
