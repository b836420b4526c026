// Measures `corvane spell PROJECT.vbp --language English` as a user runs it, each run a fresh
// process, on projects shaped like the largest real one: 546 designers with 13,010 controls,
// the English help text of every control holding one misspelling ("Type the <word> of this
// entry here; it is kept with the order when you click OK."). The misspellings are words of the
// en_US dictionary with two letters swapped, one left out, one doubled or one replaced (a fixed
// seed), each one the dictionary rejects. Two projects:
//   300 distinct misspellings, each in about 43 controls     (goal: 10 s)
//   10,000 distinct misspellings, a few in two controls      (goal: 30 s)
// The best of several runs counts; each run is printed with the load average before it.
// The output of the last run is checked: a line for every control and "Questioned words: 13010",
// and for a sample of the words, the suggestions printed are those one dictionary gives when
// it searches alone, ranked, and they start as Hunspell's search over the whole dictionary
// starts them (the program searches so only where no word is one edit away). That search
// also gives the processor time for one word, so the floor of a run on this machine can be
// stated: distinct words x that / cores.
// Usage: bench_spell [--runs N] [--distinct N] [--keep]   (--distinct: only that project)
#include "ProcessMeasure.h"
#include "SyntheticProject.h"

#include "cli/HeadlessSession.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"
#include "spelling/SpellingCommonWords.h"
#include "spelling/SpellingDictionary.h"
#include "spelling/SpellingSuggestions.h"
#include "spelling/SuggestionRanking.h"
#include "text/MessageText.h"

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace corvane;
namespace fs = std::filesystem;

namespace {

constexpr int Controls = 13010;

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// `count` distinct misspellings of en_US words, each rejected by the dictionary.
std::vector<std::string> misspellings(SpellingDictionary& english, size_t count) {
    std::ifstream dic(english.folder() / "en_US.dic");
    std::string line;
    std::getline(dic, line);
    std::vector<std::string> words;
    while (std::getline(dic, line)) {
        std::string word = line.substr(0, line.find('/'));
        if (word.size() >= 5 && word.size() <= 12 && word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos)
            words.push_back(word);
    }
    std::mt19937 random(33);
    std::set<std::string> chosen;
    std::vector<std::string> result;
    while (result.size() < count) {
        std::string word = words[random() % words.size()];
        size_t at = random() % (word.size() - 1);
        switch (random() % 4) {
        case 0: std::swap(word[at], word[at + 1]); break;
        case 1: word.erase(at, 1); break;
        case 2: word.insert(at, 1, word[at]); break;
        default: word[at] = "etaoinshrdlucmfwy"[random() % 17]; break;
        }
        if (!english.check(word) && chosen.insert(word).second)
            result.push_back(word);
    }
    return result;
}

// The project with English help text, one misspelling a control, the words taken in turn.
fs::path writeProject(const fs::path& folder, const std::vector<std::string>& words) {
    fs::path projectFile = bench::writeRealisticProject(folder, Controls);
    std::ostringstream sink;
    cli::HeadlessSession session(sink, sink, false);
    session.open(projectFile);
    ModMain& settings = session.addin().modMain();
    settings.SelectedLanguages->Clear();
    settings.SelectedLanguages->Add("English", "English");
    size_t n = 0;
    for (const auto& module : *session.editor()->formsData())
        for (const auto& record : *module)
            record->SetHelpText("English", "Type the " + words[n++ % words.size()] +
                                               " of this entry here; it is kept with the order when you click OK.");
    session.closeAndSave();
    return projectFile;
}

// Checks one run's output; returns Hunspell's processor milliseconds per word searched alone.
double checkOutput(const std::string& output, const std::vector<std::string>& words, SpellingDictionary& english) {
    std::map<std::string, std::string> printed; // word -> suggestions as printed
    size_t lines = 0;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line); ++lines) {
        size_t quote = line.find(": \"");
        size_t arrow = line.find("\" -> ");
        if (quote != std::string::npos && arrow != std::string::npos)
            printed[line.substr(quote + 3, arrow - quote - 3)] = line.substr(arrow + 5);
    }
    bool whole = lines == Controls + 1 && output.ends_with("Questioned words: " + std::to_string(Controls) + "\n");
    const size_t sample = std::min<size_t>(words.size(), 200);
    size_t same = 0;
    std::clock_t start = std::clock();
    for (size_t i = 0; i < sample; ++i) {
        const std::string& word = words[i * words.size() / sample];
        auto alone = controls::rankSuggestions(word, english.suggest(word), SpellingCommonWords::forDictionary("en_US"));
        same += printed[word] == (alone.empty() ? std::string("(no suggestions)") : joined(alone)) ? 1 : 0;
    }
    double perWord = (std::clock() - start) * 1000.0 / CLOCKS_PER_SEC / static_cast<double>(sample);
    // The suggestions start as Hunspell's search over the whole dictionary starts them.
    Hunspell wholeSearch((english.folder() / "en_US.aff").c_str(), (english.folder() / "en_US.dic").c_str());
    size_t asWhole = 0;
    for (size_t i = 0; i < sample; ++i) {
        const std::string& word = words[i * words.size() / sample];
        auto ours = english.suggest(word);
        auto theirs = wholeSearch.suggest(word);
        asWhole += ours.size() <= theirs.size() && std::equal(ours.begin(), ours.end(), theirs.begin()) ? 1 : 0;
    }
    std::printf("  output: %zu lines, %s; %zu distinct words printed; suggestions of %zu sampled words "
                "as one dictionary searching alone gives them: %zu, starting as Hunspell's whole search: %zu\n",
                lines, whole ? "a line for every control" : "INCOMPLETE", printed.size(), sample, same, asWhole);
    if (!whole || same != sample || asWhole != sample)
        std::exit(1);
    return perWord;
}

void measure(const std::string& corvane, SpellingDictionary& english, size_t distinct, int runs, bool keep,
             double goalSeconds) {
    auto folder = fs::temp_directory_path() / ("corvane-bench-spell-" + std::to_string(distinct) + "-" +
                                               std::to_string(::getpid()));
    auto words = misspellings(english, distinct);
    auto project = writeProject(folder, words).string();
    std::printf("project: 546 designers, %d controls, one misspelling each, %zu distinct\n", Controls, distinct);
    std::fflush(stdout);
    bench::Measure best;
    std::string output;
    for (int run = 0; run < runs; ++run) {
        std::string load = loadAverage();
        bench::Measure one;
        bench::runProcess({corvane, "spell", project, "--language", "English"}, one, nullptr, 1, &output);
        std::printf("  run %d: %8.1f s   %6.1f MB peak   load average before: %s\n", run + 1, one.ms / 1000,
                    one.peakKiB / 1024.0, load.c_str());
        std::fflush(stdout);
        if (one.ms < best.ms)
            best = one;
    }
    double perWord = checkOutput(output, words, english);
    double floor = perWord * static_cast<double>(distinct) / static_cast<double>(SpellingSuggestions::coreCount()) / 1000;
    std::printf("corvane spell, %zu distinct: best of %d %8.1f s (goal %.0f s: %s); Hunspell alone %.1f ms of "
                "processor time a word, so at least %.1f s on %zu cores\n",
                distinct, runs, best.ms / 1000, goalSeconds, best.ms / 1000 <= goalSeconds ? "met" : "NOT met",
                perWord, floor, SpellingSuggestions::coreCount());
    std::fflush(stdout);
    if (keep)
        std::printf("  project kept in %s\n", folder.c_str());
    else
        fs::remove_all(folder);
}

} // namespace

int main(int argc, char** argv) {
    int runs = 3;
    size_t only = 0;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--distinct" && i + 1 < argc)
            only = static_cast<size_t>(std::atol(argv[++i]));
        else if (argument == "--keep")
            keep = true;
        else {
            std::fprintf(stderr, "usage: bench_spell [--runs N] [--distinct N] [--keep]\n");
            return 2;
        }
    }
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string corvane = (self.parent_path().parent_path() / "bin" / "corvane").string();
    auto scratch = fs::temp_directory_path() / ("corvane-bench-spell-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    ::setenv("CORVANE_REGISTRY", (scratch / "registry.reg").c_str(), 1);
    ::setenv("CORVANE_ERROR_LOG", (scratch / "errors.log").c_str(), 1);
    SpellingDictionary english("en_US");
    std::printf("machine: %zu cores; load average at the start: %s\n", SpellingSuggestions::coreCount(),
                loadAverage().c_str());
    if (only == 0 || only == 300)
        measure(corvane, english, 300, runs, keep, 10);
    if (only == 0 || only == 10000)
        measure(corvane, english, 10000, runs, keep, 30);
    if (only != 0 && only != 300 && only != 10000)
        measure(corvane, english, only, runs, keep, 0);
    fs::remove_all(scratch);
    return 0;
}
