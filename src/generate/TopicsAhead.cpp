#include "generate/TopicsAhead.h"

#include "platform/Utf8Path.h"

#include <algorithm>

namespace corvane {

TopicsAhead::~TopicsAhead() {
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
}

namespace {

// Never set: a part made by the caller runs to its end.
const std::atomic<bool> Never{false};

// The recipe of one part alone: the other part neither made nor written.
TopicRecipe partOf(const TopicRecipe& recipe, TopicsAhead::Part part) {
    TopicRecipe only = recipe;
    if (part == TopicsAhead::Part::WinHelp) {
        only.popupCodePage.reset();
        only.popupFile.clear();
    } else {
        only.topicTemplate.reset();
        only.documentFile.clear();
        only.documentStart.clear();
    }
    return only;
}

// Moves what a part made into the topics of its language.
void addPart(TopicsAhead::Topics& topics, TopicsAhead::Topics&& part) {
    if (part.winHelp) {
        topics.winHelp = std::move(part.winHelp);
        topics.document = std::move(part.document);
    }
    if (part.popups) {
        topics.popups = std::move(part.popups);
        topics.popupFile = std::move(part.popupFile);
    }
}

// Where `language`'s text stands in the records' lists of texts: as in the first record that
// has one (records read from a file hold them in the same order). Only a hint, for fetching
// ahead and looking there first.
size_t textIndexOf(const ModuleRecords& forms, const std::string& language) {
    for (const auto& records : forms)
        for (const auto& record : *records)
            if (const int32_t position = record->HelpTexts.PositionOf(language); position != 0)
                return static_cast<size_t>(position - 1);
    return 0;
}

} // namespace

void TopicsAhead::start(std::shared_ptr<const ModuleRecords> forms,
                        std::vector<std::pair<std::string, Recipe>> languages) {
    if (started() || !forms || languages.empty())
        return;
    forms_ = std::move(forms);
    for (auto& [language, recipe] : languages) {
        for (Part part : {Part::WinHelp, Part::Popups}) {
            if (part == Part::WinHelp ? !recipe.topicTemplate : !recipe.popupCodePage)
                continue;
            Slot& slot = slots_.emplace_back();
            slot.language = language;
            slot.recipe = recipe;
            slot.part = part;
            slot.result = slot.promise.get_future();
        }
    }
    try {
        worker_ = std::thread([this] { run(); });
    } catch (...) {
        slots_.clear(); // no thread: nothing is made ahead, and take() waits for nothing
        forms_.reset();
        throw;
    }
}

std::optional<TopicsAhead::Topics> TopicsAhead::take(const std::string& language, const Recipe& recipe,
                                                     NotBegun notBegun) {
    if (!started())
        return std::nullopt;
    std::vector<Slot*> parts;
    for (Slot& slot : slots_)
        if (!slot.taken && slot.language == language) {
            slot.taken = true;
            parts.push_back(&slot);
        }
    // Each part the thread has not begun is made here, one after the other, so that the thread
    // may still take the next one meanwhile; the others are waited for.
    bool usable = !parts.empty() && parts.front()->recipe == recipe; // else dropped, prepared files and all
    Topics topics;
    for (Slot* slot : parts) {
        std::optional<Topics> part;
        Maker nobody = Maker::Nobody;
        if (notBegun == NotBegun::MakeHere && slot->maker.compare_exchange_strong(nobody, Maker::Caller)) {
            try {
                if (usable)
                    part = make(*forms_, language, partOf(recipe, slot->part), Never);
            } catch (...) {
                part.reset(); // the caller makes them all, and reports what goes wrong
            }
        } else {
            part = slot->result.get();
        }
        usable = usable && part;
        if (usable)
            addPart(topics, std::move(*part));
    }
    if (!usable)
        return std::nullopt;
    return topics;
}

void TopicsAhead::run() {
    // Every record had its number when the thread started, and a language the caller makes
    // itself numbers none: the records stay as they are until the thread has ended.
    for (auto slot = slots_.rbegin(); slot != slots_.rend() && !stop_; ++slot) {
        Maker nobody = Maker::Nobody;
        if (!slot->maker.compare_exchange_strong(nobody, Maker::Thread))
            continue; // the caller came to it first
        std::optional<Topics> topics;
        try {
            topics = make(*forms_, slot->language, partOf(slot->recipe, slot->part), stop_);
        } catch (...) {
            topics.reset(); // the caller makes them, and reports what goes wrong
        }
        slot->promise.set_value(std::move(topics));
    }
}

std::optional<TopicsAhead::Topics> TopicsAhead::make(const ModuleRecords& forms, const std::string& language,
                                                     const Recipe& recipe, const std::atomic<bool>& stop,
                                                     Unnumbered unnumbered) {
    struct GivenUp {};
    Topics topics;
    PreparedTemplate topicTemplate;
    if (recipe.topicTemplate) {
        topicTemplate = WinHelpTopics::prepareTopic(*recipe.topicTemplate);
        topics.winHelp.emplace();
    }
    if (recipe.popupCodePage)
        topics.popups.emplace(*recipe.popupCodePage);
    // Where the language's text stands in a record's list, as records read from a file hold them.
    const size_t textIndex = textIndexOf(forms, language);
    auto walk = [&] {
        for (const auto& records : forms) {
            if (stop)
                throw GivenUp();
            forEachRecord(*records, RecordParts::Texts, [&](const std::shared_ptr<HelpItem>& record) {
                if (!record->Control())
                    return;
                // A text of this language answers hasText for most records without reading the others.
                const std::string_view text = record->textIn(language, textIndex);
                if (text.find_first_not_of(' ') == std::string_view::npos && !record->hasText())
                    return;
                if (record->ContextHelpID == 0 && unnumbered == Unnumbered::GiveUp)
                    throw GivenUp(); // the run gives it a number (or reports why it cannot)
                if (topics.winHelp)
                    topics.winHelp->add(topicTemplate, recipe.rtfCodePage, record->ContextHelpID, text);
                if (topics.popups)
                    topics.popups->appendTopic(record->ContextHelpID, text);
            }, textIndex);
        }
    };
    try {
        if (recipe.documentFile.empty() && recipe.popupFile.empty())
            walk();
        else
            writeWhileWalking(topics, recipe, walk);
    } catch (const GivenUp&) {
        return std::nullopt;
    }
    return topics;
}

// The walk's topics go straight into the prepared files, both filled in the one walk: the
// popup file is prepared inside the topic document's preparation.
void TopicsAhead::writeWhileWalking(Topics& topics, const Recipe& recipe, const std::function<void()>& walk) {
    auto popupsWhileWalking = [&] {
        if (!topics.popups) {
            walk();
            return;
        }
        topics.popupFile.emplace(platform::pathFromUtf8(recipe.popupFile), std::filesystem::path(), Durability::Deferred);
        topics.popupFile->prepare([&](OutputBuffer& out) {
            topics.popups->streamTo(&out);
            walk();
            topics.popups->streamTo(nullptr);
        });
    };
    if (!topics.winHelp) {
        popupsWhileWalking();
        return;
    }
    topics.document.emplace(platform::pathFromUtf8(recipe.documentFile), std::filesystem::path(), Durability::Deferred);
    topics.document->prepare([&](OutputBuffer& out) {
        out.append(recipe.documentStart);
        out.append("\r\n");
        topics.winHelp->streamTo(&out);
        popupsWhileWalking();
        topics.winHelp->streamTo(nullptr);
        out.append("}\r\n");
    });
}

} // namespace corvane
