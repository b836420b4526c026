// ProducedFiles: the files a help file creation run is asked for (per selected language, the
// kinds the options ask for), noted with the version of each on disk before the run, so that
// afterwards the run's end can say what it produced and what not. A file counts as produced
// when it exists and was written since the note.
#pragma once

#include "files/FileStamp.h"

#include <filesystem>
#include <map>
#include <optional>
#include <vector>

namespace corvane {

struct HelpDataSettings;
class HelpOutputLayout;

class ProducedFiles {
public:
    // Notes the files `settings` ask for in `layout` and when each was last written.
    ProducedFiles(const HelpDataSettings& settings, const HelpOutputLayout& layout);

    // Every file asked for, per language in the order of the selected languages.
    const std::vector<std::filesystem::path>& requested() const noexcept { return requested_; }
    // The files asked for that the run did not write.
    std::vector<std::filesystem::path> missing() const;
    // The help files the run made for the user and wrote: per language and format the
    // compiled help file, or the help project where no compiled file was written.
    std::vector<std::filesystem::path> delivered() const;

private:
    bool written(const std::filesystem::path& file) const;

    std::vector<std::filesystem::path> requested_;
    std::vector<std::vector<std::filesystem::path>> deliverables_; // per format: preferred first
    std::map<std::filesystem::path, std::optional<FileStamp>> before_;
};

// The version of a file on disk (nothing for a file that does not exist). Unlike the time of
// the last write, whose resolution is a second on some systems, it tells two writes apart
// within that second: a file replaced has another file number, one rewritten another change
// time or size.
std::optional<FileStamp> writtenVersion(const std::filesystem::path& file);

} // namespace corvane
