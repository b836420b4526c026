// HelpDataComparison: whether a help data file already holds the bytes a save of the records
// would write, answered on several threads.
//
// A save that would write the bytes the file holds writes nothing (HelpDataFile::save). For a
// file of megabytes, rendering the records and comparing the result with the file takes about as
// long as writing it, and a creation run ends with such a save. Here the modules are split into
// pieces, one per thread, and each piece is rendered (HelpDataWriter) and compared with its own
// part of the file. Each part is found in the file itself: in the written form a module's
// element starts a line with "  <VBComponent ComponentName=", and no other line does (texts and
// values write '<' as a reference). When the file holds the save's bytes, every piece finds its
// part and matches it; when any piece does not, the file differs from them somewhere.
//
//   bool same = HelpDataComparison(settings, forms, formNames).holdsRecords(fd, size);
//
// False means "not known to be the same" as well: where the file cannot be split (a module name
// written with references, a read error), or no language is selected (a save then adds "Neutral"
// to the settings), the caller renders and compares the whole file as before. The records and the
// settings must not change while the comparison runs; it changes neither.
#pragma once

#include "helpdata/HelpItem.h"
#include "vbruntime/KeyedCollection.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace corvane {

class HelpDataComparison {
public:
    // A comparison of files with the save of `forms` (named by `formNames`) under `settings`;
    // all three outlive it.
    HelpDataComparison(HelpDataSettings& settings, const ModuleRecords& forms, const NameList& formNames)
        : settings_(settings), forms_(forms), formNames_(formNames) {}

    // The file size from which comparing on several threads before a save pays.
    static constexpr size_t WorthFrom = size_t{1} << 20;

    // A part of the file: the modules from `firstModule` on, starting at byte `offset`.
    struct Piece {
        int32_t firstModule = 1;
        size_t offset = 0;
    };

    // True when the file open as `fd`, of `size` bytes, holds exactly the bytes HelpDataWriter
    // writes for the records, compared in `pieces` parts at once (0: parallelThreads()).
    bool holdsRecords(int fd, size_t size, size_t pieces = 0) const;

    // The parts of holdsRecords, for callers that share them out themselves:
    // The file cut at module starts into at most `count` parts, the first at its start; empty
    // when it cannot be cut, or when nothing may be concluded (see above).
    std::vector<Piece> split(int fd, size_t size, size_t count) const;
    // True when part `index` of `parts` of the file holds the bytes the records give there; it
    // stops at its first difference, and gives false as soon as `differs` is set elsewhere.
    bool partMatches(int fd, const std::vector<Piece>& parts, size_t index, size_t size,
                     const std::atomic<bool>& differs) const;

private:
    std::optional<Piece> moduleStartFrom(int fd, size_t from, size_t size) const;

    HelpDataSettings& settings_;
    const ModuleRecords& forms_;
    const NameList& formNames_;
};

} // namespace corvane
