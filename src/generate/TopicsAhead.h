// TopicsAhead: the topics of the languages still to come in a creation run, made on a thread
// of their own while the files of the language before are written and compiled.
//
// Once the first language has walked the records, every record with help text has its context
// number, and nothing changes the records until the run ends (the run is modal). The topics of
// each later language then follow from the records, the language, the WinHelp topic template
// and the code pages alone. A thread makes them, language after language; a language's own
// walk takes them instead of making them again, provided they were made with the same template
// and code pages. Where the thread cannot make a language's topics exactly as the walk would (a
// record with text but still without a number, any failure), it gives that language up, and the
// walk makes its topics itself with its usual error handling.
//
// Calling sequence:
//   TopicsAhead ahead;
//   ahead.start(records, languages);      // once the first language's walk is done
//   auto topics = ahead.take(language, recipe);  // in each later walk: use them, or walk
// The destructor stops the thread and waits for it, so a run that ends early ends at once.
#pragma once

#include "generate/PopupText.h"
#include "generate/WinHelpTopics.h"
#include "helpdata/HelpItem.h"

#include <atomic>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace corvane {

// What the topics of a language are made with.
struct TopicRecipe {
    std::optional<std::string> topicTemplate; // the WinHelp topic template, when WinHelp is made
    int rtfCodePage = 1252;                   // the code page of the WinHelp topic text
    std::optional<int> popupCodePage;         // the popup file's code page, when HTML Help is made
    bool operator==(const TopicRecipe&) const = default;
};

class TopicsAhead {
public:
    using Recipe = TopicRecipe;
    // The topics of one language.
    struct Topics {
        std::optional<WinHelpTopics> winHelp;
        std::optional<PopupText> popups;
    };

    // Makes nothing until start().
    TopicsAhead() = default;
    TopicsAhead(const TopicsAhead&) = delete;
    TopicsAhead& operator=(const TopicsAhead&) = delete;
    // Stops the thread and waits for it.
    ~TopicsAhead();

    // Starts making the topics of each language, in order, from the records of `forms`.
    void start(std::shared_ptr<const ModuleRecords> forms, std::vector<std::pair<std::string, Recipe>> languages);
    // True once start() was called.
    bool started() const noexcept { return worker_.joinable(); }
    // The topics of `language` when they were made ahead with `recipe` (waiting for them when
    // they are being made); nothing when they were not.
    std::optional<Topics> take(const std::string& language, const Recipe& recipe);

    // The topics of `language` made with `recipe` from the records, as the walk makes them;
    // nothing when a record with text has no context number yet, or when `stop` is set.
    static std::optional<Topics> make(const ModuleRecords& forms, const std::string& language, const Recipe& recipe,
                                      const std::atomic<bool>& stop);

private:
    struct Slot {
        std::string language;
        Recipe recipe;
        std::promise<std::optional<Topics>> promise;
        std::future<std::optional<Topics>> result;
        bool taken = false;
    };

    void run();

    std::shared_ptr<const ModuleRecords> forms_;
    std::vector<Slot> slots_;
    std::atomic<bool> stop_{false};
    std::thread worker_;
};

} // namespace corvane
