// CodePageSampling: the sample of a project's text files for its code page, read on a few
// threads.
//
// Reading every form and module of a project only to find its lines beyond ASCII is most of
// the time an open spends before the designers are read; a project saved in ASCII alone has
// every byte read for nothing found. The files are read on a few threads, in the project's
// order, and their lines join the sample in that order, so that the sample is the one a reading
// of the files one after the other gives. A file whose turn comes after files that together
// filled the sample is not read.
#pragma once

#include "vbide/ProjectCodePage.h"

#include <filesystem>
#include <vector>

namespace corvane::vbide {

// Adds the lines beyond ASCII of the files, in their order, to `detection` until its sample is
// full; a file that cannot be read (VbError) adds nothing.
void addFilesToSample(ProjectCodePage& detection, const std::vector<std::filesystem::path>& files);

} // namespace corvane::vbide
