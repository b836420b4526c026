// SpellCommand: `corvane spell PROJECT.vbp [--language NAME]`: checks the spelling of every
// help text of the project (of one language, or of every selected language) without changing
// anything, so that teams can check help text in their builds.
//
// Output, one line per questioned word, in module order, then control order, then the order of
// the selected languages, then text order:
//     MODULE CONTROL LANGUAGE: "WORD" -> SUGGESTION, SUGGESTION
// ("-> (no suggestions)" when the dictionary has none; ranked as the spelling dialog ranks
// them, see SuggestionRanking.h), then a last line
//     Questioned words: N
// Each distinct word is looked up once per language, and the suggestions of the distinct
// questioned words are searched at once, on every core, before the lines are printed.
// Message boxes the project scan shows go to the error stream as "[title] prompt".
// Exit status: 0 when no word was questioned, 1 when any was, 2 for a usage error, an unknown
// language, a project that cannot be opened or a language whose dictionary is not installed
// (its message names the dictionary and the folders searched; the other languages are still
// checked and printed).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvane::cli {

// Runs the command on its arguments (after "spell"); returns the exit status.
int runSpell(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace corvane::cli
