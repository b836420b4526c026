// TopicsAhead: the topics of the languages still to come in a creation run, made on a thread
// of their own while the topics of the language before are made, written and compiled.
//
// Once the first language has numbered the records, every record with help text has its context
// number, and nothing changes the records until the languages are done (the run is modal). The
// topics of each later language then follow from the records, the language, the WinHelp topic
// template and the code pages alone. A thread makes them, language after language; a
// language's own run takes them instead of making them again, provided they were made with the
// same template and code pages. Each language's topics are made in two parts, each a walk of the
// records of its own: the WinHelp topics (document and map) and the popups. The thread starts
// from the last language's last part and the run works from the first: each part is made by
// whichever comes to it first, so that they meet in the middle, within a language if need be.
// Where the thread cannot make a part exactly as the run would (a record with text but still
// without a number, any failure), it gives it up, and the run makes that language's topics
// itself with its usual error handling.
//
// Calling sequence:
//   TopicsAhead ahead;
//   ahead.start(records, languages);      // once the first language has numbered the records
//   auto topics = ahead.take(language, recipe);  // in each later language: use them, or make them
// The destructor stops the thread and waits for it, so a run that ends early ends at once.
#pragma once

#include "files/AtomicFile.h"
#include "generate/PopupText.h"
#include "generate/WinHelpTopics.h"
#include "helpdata/HelpItem.h"

#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace corvane {

// What the topics of a language are made with, and where they are written.
struct TopicRecipe {
    std::optional<std::string> topicTemplate; // the WinHelp topic template, when WinHelp is made
    int rtfCodePage = 1252;                   // the code page of the WinHelp topic text
    std::optional<int> popupCodePage;         // the popup file's code page, when HTML Help is made
    // The files the topics are written into as they are made (prepared, see AtomicFile.h);
    // empty: the topics are kept in memory.
    std::string documentFile;  // the WinHelp topic document
    std::string documentStart; // its filled start, the line before the first topic
    std::string popupFile;     // the popup file
    bool operator==(const TopicRecipe&) const = default;
};

class TopicsAhead {
public:
    using Recipe = TopicRecipe;
    // The parts of a language's topics, each made on its own.
    enum class Part { WinHelp, Popups };
    // The topics of one language. With files in the recipe, the topic document and the popup
    // file are prepared (written, not yet in place), and the topics hold only the map's lines
    // and what the popup file lost or changed.
    struct Topics {
        std::optional<WinHelpTopics> winHelp;
        std::optional<PopupText> popups;
        std::optional<AtomicFile> document;  // the prepared topic document
        std::optional<AtomicFile> popupFile; // the prepared popup file
    };

    // Makes nothing until start().
    TopicsAhead() = default;
    TopicsAhead(const TopicsAhead&) = delete;
    TopicsAhead& operator=(const TopicsAhead&) = delete;
    // Stops the thread and waits for it.
    ~TopicsAhead();

    // Starts making the topics of each language, the last first, from the records of `forms`.
    void start(std::shared_ptr<const ModuleRecords> forms, std::vector<std::pair<std::string, Recipe>> languages);
    // True once start() was called.
    bool started() const noexcept { return worker_.joinable(); }
    // What take() does with a part the thread has not begun.
    enum class NotBegun {
        Wait,     // waits for the thread to make it
        MakeHere, // makes it on the caller's thread, and the thread leaves it alone
    };
    // The topics of `language` made with `recipe`: the parts the thread made or is making
    // (waited for), and those it has not begun either waited for too or, as `notBegun` says,
    // made here on the caller's thread, one after the other. Nothing when the language was
    // not started, the recipe differs, or a part could not be made.
    std::optional<Topics> take(const std::string& language, const Recipe& recipe, NotBegun notBegun = NotBegun::Wait);

    // What make() does with a record that has help text but no context number.
    enum class Unnumbered {
        GiveUp, // nothing is made: the language's own run numbers it first
        Write,  // its topic is written with the number 0, as the run writes it after a skipped step
    };
    // The topics of `language` made with `recipe` from the records, in the order of the
    // records; nothing when `stop` is set, or for a record with text but no context number
    // when `unnumbered` says to give up.
    static std::optional<Topics> make(const ModuleRecords& forms, const std::string& language, const Recipe& recipe,
                                      const std::atomic<bool>& stop, Unnumbered unnumbered = Unnumbered::GiveUp);

private:
    static void writeWhileWalking(Topics& topics, const Recipe& recipe, const std::function<void()>& walk);

    // Who makes a language's topics: the first to claim it.
    enum class Maker { Nobody, Thread, Caller };
    struct Slot {
        std::string language;
        Recipe recipe; // the language's whole recipe, of which the slot makes its part
        Part part = Part::WinHelp;
        std::promise<std::optional<Topics>> promise;
        std::future<std::optional<Topics>> result;
        std::atomic<Maker> maker{Maker::Nobody};
        bool taken = false;
    };

    void run();

    std::shared_ptr<const ModuleRecords> forms_;
    std::deque<Slot> slots_; // never moved: the thread works on them
    std::atomic<bool> stop_{false};
    std::thread worker_;
};

} // namespace corvane
