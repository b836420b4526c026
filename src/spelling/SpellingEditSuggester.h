// SpellingEditSuggester: the Hunspell dictionary that suggests the words one edit away from a
// misspelling (and the replacements its ".aff" file lists) without searching the whole
// dictionary for similar words, which takes nine tenths of Hunspell's time (see
// SpellingDictionary for how the two searches combine).
//
// Hunspell reads its files when it opens them, so it opens a copy of the ".aff" file, removed
// right after, that says "MAXNGRAMSUGS 0": no n-gram search. Where the dictionary forms
// compounds of numbers only, as the English ones do ("21st"), the copy also says
// "MAXCPDSUGS 0": the second pass, which tries every edit again as a compound, finds nothing
// for a word and takes four fifths of the rest. A dictionary that compounds words (German)
// keeps that pass.
#pragma once

#include "spelling/HunspellHandle.h"

#include <filesystem>
#include <string>

namespace corvane {

// The edit suggester of the dictionary `name` in `folder`; nothing when the copy of its ".aff"
// file cannot be written (then the caller suggests with the whole search).
HunspellHandle openEditSuggester(const std::filesystem::path& folder, const std::string& name);

// True when the dictionary's compound rules join only entries that start with a digit, and no
// other line of its ".aff" file lets words form compounds.
bool compoundsOnlyNumbers(const std::filesystem::path& folder, const std::string& name);

} // namespace corvane
