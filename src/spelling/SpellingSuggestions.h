// SpellingSuggestions: the suggestions of one spelling dictionary, each word's searched once
// for as long as the program runs, and many words' searched on every core at once.
//
// Hunspell takes milliseconds of processor time to suggest for one word (tens of them where
// it searches the whole dictionary), and nothing needs that twice for the same word. One
// object serves every user of the same dictionary with the same added words (shared()); once
// a word is added, the dictionary may suggest it, so its users move to another object.
//
// A Hunspell dictionary may be used by one thread at a time, so each search borrows a
// dictionary of its own from the object's pool: the pool opens one when none is free and
// keeps it, so it holds at most one for each thread that searched at the same time.
// Hunspell ends a step of a search once the processor time of the whole process spent in it
// passes a budget (the longest steps a tenth of a second). While several threads search, that
// time runs faster than the searching thread's own, so a search during which the process spent
// such a budget while its thread did not is searched again alone afterwards: the answers are
// those of one thread (bench_spell compares them).
//
// Safe for use from several threads at once.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

class SpellingDictionary;

class SpellingSuggestions {
public:
    // The object for the dictionary `name` in `folder` with `addedWords` added, made at the
    // first call and kept until the program ends or the dictionary is asked for with other
    // added words (then its holders keep it as long as they hold it).
    static std::shared_ptr<SpellingSuggestions> shared(const std::string& name, const std::filesystem::path& folder,
                                                       const std::vector<std::string>& addedWords);

    // An object of its own (shared() gives the one every user shares).
    SpellingSuggestions(std::string name, std::filesystem::path folder, std::vector<std::string> addedWords);
    ~SpellingSuggestions();
    SpellingSuggestions(const SpellingSuggestions&) = delete;
    SpellingSuggestions& operator=(const SpellingSuggestions&) = delete;

    // The dictionary's suggestions for a UTF-8 word, best first in the dictionary's order: the
    // ones kept, or searched now on the calling thread and kept. Raises the dictionary's
    // VbError when it cannot be opened.
    std::vector<std::string> suggest(std::string_view word);
    // Searches the suggestions of every word not yet kept, on `threads` threads (0: one per
    // core), the caller's included, and returns when all are kept. The first failure is raised
    // once every thread has stopped.
    void prepare(const std::vector<std::string>& words, size_t threads = 0);
    // True when the suggestions of the word are kept.
    bool has(std::string_view word) const;
    // The dictionaries the pool holds.
    size_t pooledDictionaries() const;

    // The threads prepare() runs on when not told: one per core.
    static size_t coreCount();

private:
    class Loan;
    std::unique_ptr<SpellingDictionary> borrow();
    void giveBack(std::unique_ptr<SpellingDictionary> dictionary);
    std::vector<std::string> search(std::string_view word, bool* mayBeCut = nullptr);

    const std::string name_;
    const std::filesystem::path folder_;
    const std::vector<std::string> addedWords_;

    mutable std::mutex mutex_; // guards what follows
    std::unordered_map<std::string, std::vector<std::string>> kept_;
    std::vector<std::unique_ptr<SpellingDictionary>> idle_;
    size_t opened_ = 0;
};

} // namespace corvane
