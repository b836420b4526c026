#include "generate/TopicsAhead.h"

namespace corvane {

TopicsAhead::~TopicsAhead() {
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
}

void TopicsAhead::start(std::shared_ptr<const ModuleRecords> forms,
                        std::vector<std::pair<std::string, Recipe>> languages) {
    if (started() || !forms || languages.empty())
        return;
    forms_ = std::move(forms);
    slots_.reserve(languages.size());
    for (auto& [language, recipe] : languages) {
        Slot& slot = slots_.emplace_back();
        slot.language = std::move(language);
        slot.recipe = std::move(recipe);
        slot.result = slot.promise.get_future();
    }
    try {
        worker_ = std::thread([this] { run(); });
    } catch (...) {
        slots_.clear(); // no thread: nothing is made ahead, and take() waits for nothing
        forms_.reset();
        throw;
    }
}

std::optional<TopicsAhead::Topics> TopicsAhead::take(const std::string& language, const Recipe& recipe) {
    if (!started())
        return std::nullopt;
    for (Slot& slot : slots_) {
        if (slot.taken || slot.language != language)
            continue;
        slot.taken = true;
        if (!(slot.recipe == recipe))
            return std::nullopt;
        return slot.result.get();
    }
    return std::nullopt;
}

void TopicsAhead::run() {
    bool givenUp = false;
    for (Slot& slot : slots_) {
        std::optional<Topics> topics;
        if (!givenUp) {
            try {
                topics = make(*forms_, slot.language, slot.recipe, stop_);
            } catch (...) {
                topics.reset(); // the walk makes them, and reports what goes wrong
            }
        }
        // A language given up walks the records itself and may number some of them: from
        // then on the records are not left alone, so nothing more is made ahead.
        givenUp = givenUp || !topics;
        slot.promise.set_value(std::move(topics));
    }
}

std::optional<TopicsAhead::Topics> TopicsAhead::make(const ModuleRecords& forms, const std::string& language,
                                                     const Recipe& recipe, const std::atomic<bool>& stop,
                                                     Unnumbered unnumbered) {
    Topics topics;
    PreparedTemplate topicTemplate;
    if (recipe.topicTemplate) {
        topicTemplate = WinHelpTopics::prepareTopic(*recipe.topicTemplate);
        topics.winHelp.emplace();
    }
    if (recipe.popupCodePage)
        topics.popups.emplace(*recipe.popupCodePage);
    for (const auto& records : forms) {
        if (stop)
            return std::nullopt;
        for (const auto& record : *records) {
            if (!record->Control() || !record->hasText())
                continue;
            if (record->ContextHelpID == 0 && unnumbered == Unnumbered::GiveUp)
                return std::nullopt; // the run gives it a number (or reports why it cannot)
            const std::string& text = record->textIn(language);
            if (topics.winHelp)
                topics.winHelp->add(topicTemplate, recipe.rtfCodePage, record->ContextHelpID, text);
            if (topics.popups)
                topics.popups->appendTopic(record->ContextHelpID, text);
        }
    }
    return topics;
}

} // namespace corvane
