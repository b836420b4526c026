// ReferenceCodePages: what the files a project names tell of the code page its project file
// was saved in.
//
// VB6 writes a designer's or module's file name into the project file in the ANSI code page
// of the Windows that saved it; the files themselves keep their name on disk (as the system
// spells it, here in UTF-8). A project whose only text beyond ASCII is such a name gives
// detection next to nothing to read, but its references can be read in each code page: the
// code page in which the names it writes are files on disk is the one it was saved in, the
// strongest evidence there is.
#pragma once

#include "vbide/PathResolver.h"

#include <cstddef>
#include <string>
#include <vector>

namespace corvane::vbide {

// What a project's references beyond ASCII tell.
struct ReferenceCodePages {
    // The code pages tried, in the order tried.
    std::vector<int> tried;
    // Those under which the most references name an existing file (none where no reference
    // does under any), in the order tried.
    std::vector<int> fitting;
    // How many references hold a byte beyond ASCII.
    size_t references = 0;
    // The indexes (into the list given) of the references beyond ASCII that name no file
    // under any code page tried.
    std::vector<size_t> unresolved;

    // Reads each reference (its bytes as the project file holds them) in each code page of
    // `candidates` (the code pages the system lacks left out) and looks for the file it
    // names. A reference in ASCII alone is the same in every code page and is not read.
    static ReferenceCodePages check(const std::vector<std::string>& referenceBytes, const PathResolver& paths,
                                    const std::vector<int>& candidates);
    // The Windows code pages a project may have been saved in, `first` ahead of the others.
    static std::vector<int> candidates(int first);

    // True when the references single out code pages: some reference beyond ASCII names a file
    // under some code page.
    bool tell() const noexcept { return !fitting.empty(); }
    // The advice for a reference that names no file in any code page: the code pages tried and
    // how to choose the one the project was saved in.
    std::string advice() const;
};

} // namespace corvane::vbide
