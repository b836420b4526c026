// ProjectCodePage: the code page a project's files were saved in, found from their bytes.
//
// VB6 writes the project, form and module files in the ANSI code page of the Windows that saved
// them, and says nothing of it. The lines that hold a byte beyond ASCII, from all the project's
// own text files together (the project file, designers, modules and classes), make one sample
// of at most SampleLimit bytes, which uchardet (CharsetDetection) reads as one text: a few
// captions say little, a project's captions, names and comments together say a lot.
//
// choose() then weighs what the project states, the code pages of its help languages:
// - a detected code page that a help language confirms stands;
// - one found in enough bytes stands against the help languages (enough: 16 bytes beyond
//   ASCII for the Latin code pages, whose detection a few accented words mislead, 64 for the
//   Far East ones, which short texts confuse with one another; the other scripts are told
//   apart in a word);
// - otherwise the first help language whose code page reads the sample no worse (no more words
//   mixing scripts or control characters) wins; where no language is stated, a Latin neighbour
//   found in too few bytes gives way to Windows-1252, the default where the files leave doubt.
// Before all of that, the project's references (ReferenceCodePages): where the names of the
// files it holds exist on disk in some code pages only, one of those is chosen, in the order
// above where it leaves several.
#pragma once

#include "vbide/ReferenceCodePages.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::vbide {

class ProjectCodePage {
public:
    // The most bytes of a sample: some hundred lines beyond ASCII, far more than detection
    // needs, and read in a few milliseconds (uchardet and each reading of the sample take time
    // in proportion to it, and an open waits for them).
    static constexpr size_t SampleLimit = 32 * 1024;

    // Adds the lines of a file's bytes that hold a byte beyond ASCII to the sample (while it
    // has room); false once the sample is full.
    bool addFile(std::string_view bytes);
    // Adds lines as linesBeyondAscii gives them, one after the other while the sample has room;
    // false once the sample is full. A file's lines added so give the sample addFile gives.
    bool addLines(std::string_view lines);
    // The lines of a file's bytes that hold a byte beyond ASCII, each ended by '\n', until
    // they reach `limit` bytes: what addFile would take from the file into an empty sample.
    static std::string linesBeyondAscii(std::string_view bytes, size_t limit = SampleLimit);
    // True when the sample has no more room.
    bool full() const noexcept { return sample_.size() >= SampleLimit; }
    // The sample gathered so far: lines beyond ASCII, each ended by '\n'.
    const std::string& sample() const noexcept { return sample_; }
    // Detects the code page of the sample gathered.
    void detect();

    // The charset uchardet named ("" when it could not tell or the sample is empty).
    const std::string& charset() const noexcept { return charset_; }
    // The Windows code page of that charset, when it decodes every line of the sample.
    std::optional<int> detected() const noexcept { return detected_; }
    // How many bytes of the sample are beyond ASCII.
    size_t evidence() const noexcept { return evidence_; }

    // Takes what the project's references tell (see ReferenceCodePages).
    void setReferences(ReferenceCodePages references) { references_ = std::move(references); }
    // What the project's references told (nothing tried before setReferences).
    const ReferenceCodePages& references() const noexcept { return references_; }

    // The code page to read the project in, given the code pages of its help languages in
    // their order (see above).
    int choose(const std::vector<int>& statedCodePages) const;

    // How implausible the sample reads in a code page: the words that mix scripts plus the
    // control characters and replacement characters it decodes to; none for bytes the code
    // page does not define.
    std::optional<size_t> implausibility(int codePage) const;

private:
    int chooseFromText(const std::vector<int>& statedCodePages) const;

    std::string sample_;
    ReferenceCodePages references_;
    std::string charset_;
    std::optional<int> detected_;
    size_t evidence_ = 0;
};

// The number of words of a UTF-8 text whose letters come from two scripts (a Latin word with
// a Cyrillic letter inside, as text read in the wrong code page shows), plus its C1 control
// characters and replacement characters.
size_t implausibleSpots(std::string_view utf8);

} // namespace corvane::vbide
