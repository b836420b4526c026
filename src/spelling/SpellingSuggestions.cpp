#include "spelling/SpellingSuggestions.h"

#include "process/ParallelFor.h"
#include "spelling/SpellingDictionary.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <thread>
#include <unordered_set>

#if defined(__unix__) || defined(__APPLE__)
#include <time.h>
#endif

namespace corvane {

namespace {

// The shortest budget of processor time after which Hunspell ends a step of a suggestion search.
constexpr std::clock_t SearchBudget = CLOCKS_PER_SEC / 10;

// The processor time the calling thread has used, in std::clock units; the process's where the
// system cannot tell (then a search is never suspected of having been cut short).
std::clock_t threadProcessorTime() {
#if defined(__unix__) || defined(__APPLE__)
    timespec now{};
    if (::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) == 0)
        return static_cast<std::clock_t>(now.tv_sec * CLOCKS_PER_SEC +
                                         now.tv_nsec / (1000000000 / CLOCKS_PER_SEC));
#endif
    return std::clock();
}

} // namespace

// A dictionary borrowed from the pool for one search, given back however the search ends.
class SpellingSuggestions::Loan {
public:
    explicit Loan(SpellingSuggestions& owner) : owner_(owner), dictionary_(owner.borrow()) {}
    ~Loan() { owner_.giveBack(std::move(dictionary_)); }
    Loan(const Loan&) = delete;
    Loan& operator=(const Loan&) = delete;

    SpellingDictionary& operator*() const { return *dictionary_; }

private:
    SpellingSuggestions& owner_;
    std::unique_ptr<SpellingDictionary> dictionary_;
};

std::shared_ptr<SpellingSuggestions> SpellingSuggestions::shared(const std::string& name,
                                                                 const std::filesystem::path& folder,
                                                                 const std::vector<std::string>& addedWords) {
    // One object per dictionary: the one for its latest added words. An object for other words
    // lives on while a service still holds it.
    static std::mutex registryMutex;
    static std::map<std::string, std::shared_ptr<SpellingSuggestions>> registry;
    std::lock_guard lock(registryMutex);
    auto& entry = registry[name + '\n' + folder.string()];
    if (!entry || entry->addedWords_ != addedWords)
        entry = std::make_shared<SpellingSuggestions>(name, folder, addedWords);
    return entry;
}

SpellingSuggestions::SpellingSuggestions(std::string name, std::filesystem::path folder,
                                         std::vector<std::string> addedWords)
    : name_(std::move(name)), folder_(std::move(folder)), addedWords_(std::move(addedWords)) {}

SpellingSuggestions::~SpellingSuggestions() = default;

size_t SpellingSuggestions::coreCount() { return std::max(1u, std::thread::hardware_concurrency()); }

std::vector<std::string> SpellingSuggestions::suggest(std::string_view word) {
    {
        std::lock_guard lock(mutex_);
        if (auto found = kept_.find(std::string(word)); found != kept_.end())
            return found->second;
    }
    return search(word);
}

void SpellingSuggestions::prepare(const std::vector<std::string>& words, size_t threads) {
    std::vector<std::string_view> missing;
    {
        std::unordered_set<std::string_view> seen;
        std::lock_guard lock(mutex_);
        for (const std::string& word : words)
            if (kept_.count(word) == 0 && seen.insert(word).second)
                missing.push_back(word);
    }
    std::mutex suspectsMutex;
    std::vector<std::string_view> suspects;
    forEachInParallel(
        missing.size(),
        [&](size_t i) {
            bool mayBeCut = false;
            search(missing[i], &mayBeCut);
            if (mayBeCut) {
                std::lock_guard lock(suspectsMutex);
                suspects.push_back(missing[i]);
            }
        },
        threads == 0 ? coreCount() : threads);
    for (std::string_view word : suspects) { // alone now, as one thread would have searched
        std::vector<std::string> suggestions;
        {
            Loan dictionary(*this);
            suggestions = (*dictionary).suggest(word);
        }
        std::lock_guard lock(mutex_);
        kept_[std::string(word)] = std::move(suggestions);
    }
}

bool SpellingSuggestions::has(std::string_view word) const {
    std::lock_guard lock(mutex_);
    return kept_.count(std::string(word)) != 0;
}

size_t SpellingSuggestions::pooledDictionaries() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

// Searches with a borrowed dictionary, outside the lock, and keeps the answer; tells whether
// other threads may have made Hunspell cut the search short (see the header).
std::vector<std::string> SpellingSuggestions::search(std::string_view word, bool* mayBeCut) {
    std::vector<std::string> suggestions;
    {
        Loan dictionary(*this);
        std::clock_t processStart = std::clock();
        std::clock_t threadStart = threadProcessorTime();
        suggestions = (*dictionary).suggest(word);
        if (mayBeCut)
            *mayBeCut = std::clock() - processStart >= SearchBudget &&
                        threadProcessorTime() - threadStart < SearchBudget;
    }
    std::lock_guard lock(mutex_);
    return kept_.try_emplace(std::string(word), std::move(suggestions)).first->second;
}

// A free dictionary of the pool, or a new one (opened outside the lock: it takes a while).
std::unique_ptr<SpellingDictionary> SpellingSuggestions::borrow() {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto dictionary = std::move(idle_.back());
            idle_.pop_back();
            return dictionary;
        }
    }
    auto dictionary = std::make_unique<SpellingDictionary>(name_, std::vector<std::filesystem::path>{folder_});
    for (const std::string& word : addedWords_)
        dictionary->addWord(word);
    std::lock_guard lock(mutex_);
    ++opened_;
    return dictionary;
}

void SpellingSuggestions::giveBack(std::unique_ptr<SpellingDictionary> dictionary) {
    if (!dictionary)
        return;
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(dictionary));
}

} // namespace corvane
