#include "controls/SpellChecker.h"

#include "controls/ControlErrors.h"
#include "controls/TextBox.h"
#include "controls/WindowSystem.h"
#include "platform/Utf8Path.h"
#include "spelling/CustomDictionary.h"
#include "spelling/SpellingCommonWords.h"
#include "spelling/SpellingService.h"
#include "spelling/SuggestionRanking.h"
#include "vbruntime/VbError.h"

#include <map>
#include <sstream>

namespace corvane::controls {

namespace {

constexpr std::string_view MessageTitle = "Spell check";

// Characters (code points) of a UTF-8 text, as the text box counts them.
int32_t characterCount(std::string_view text) {
    int32_t count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// Clears a flag when the check ends, however it ends.
class CheckingFlag {
public:
    explicit CheckingFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~CheckingFlag() { flag_ = false; }
    CheckingFlag(const CheckingFlag&) = delete;
    CheckingFlag& operator=(const CheckingFlag&) = delete;

private:
    bool& flag_;
};

corvane::CustomDictionary readCustomDictionary(const std::string& path) {
    if (!path.empty())
        return corvane::CustomDictionary::load(corvane::platform::pathFromUtf8(path));
    std::istringstream none;
    return corvane::CustomDictionary::read(none, {});
}

} // namespace

SpellChecker::SpellChecker(std::string name) : Control("SpellChecker", std::move(name), HasPosition) {}

SpellChecker::~SpellChecker() = default;

void SpellChecker::SetCustomDictionary(std::string path) {
    if (path == customDictionary_)
        return;
    customDictionary_ = std::move(path);
    service_.reset(); // the next check reads the new file
    changed("CustomDictionary");
}

void SpellChecker::SetLanguage(std::string language) {
    language_ = std::move(language);
    changed("Language");
}

void SpellChecker::SetTextWindowHandle(int32_t handle) {
    if (handle != 0 && !dynamic_cast<TextBox*>(Control::fromHandle(handle)))
        throw VbError(vberr::InvalidCall, "The window " + std::to_string(handle) + " is not a text box");
    textWindow_ = handle;
    changed("TextWindowHandle");
}

void SpellChecker::SetText(std::string text) {
    text_ = std::move(text);
    changed("Text");
}

void SpellChecker::SetStartCheck(bool start) {
    if (!start)
        return;
    if (checking_)
        throw VbError(vberr::InvalidCall, "A spell check is already running");
    bool cancelled = true;
    {
        CheckingFlag flag(checking_);
        if (textWindow_ != 0 && !attachedBox())
            throw VbError(vberr::ObjectNotSet, "The text box the spell checker is attached to is gone");
        cancelled = !prepare() || !runCheck();
    }
    Complete(cancelled ? 1 : 0);
}

TextBox* SpellChecker::attachedBox() const {
    return textWindow_ == 0 ? nullptr : dynamic_cast<TextBox*>(Control::fromHandle(textWindow_));
}

std::string SpellChecker::checkedText() const {
    const TextBox* box = attachedBox();
    return box ? box->Text() : text_;
}

// Opens the dictionaries for the language; false, after telling the user why, when it cannot.
bool SpellChecker::prepare() {
    try {
        if (!service_)
            service_ = std::make_unique<SpellingService>(readCustomDictionary(customDictionary_));
        service_->setLanguage(language_);
        return true;
    } catch (const VbError& error) {
        WindowSystem::get().MsgBox(error.description(), vbOKOnly | vbExclamation, MessageTitle);
        return false;
    }
}

// Walks the questioned words; false when the user cancelled.
bool SpellChecker::runCheck() {
    std::map<std::string, std::string> changeAll; // word -> replacement, for this check
    size_t from = 0;
    for (;;) {
        std::optional<corvane::BadWord> bad = service_->nextBadWord(checkedText(), from);
        if (!bad)
            return true;
        badWordStart_ = static_cast<int32_t>(bad->span.start);
        badWordLength_ = static_cast<int32_t>(bad->span.length);
        std::string replacement;
        auto known = changeAll.find(bad->word);
        SpellChoice choice = known != changeAll.end() ? SpellChoice::Change : ask(*bad, replacement);
        if (known != changeAll.end())
            replacement = known->second;
        switch (choice) {
        case SpellChoice::Cancel:
            return false;
        case SpellChoice::IgnoreAll:
            service_->ignoreAll(bad->word);
            break;
        case SpellChoice::Add:
            addWord(bad->word);
            break;
        case SpellChoice::ChangeAll:
            changeAll[bad->word] = replacement;
            [[fallthrough]];
        case SpellChoice::Change:
            replaceWord(*bad, replacement);
            from = bad->span.start + static_cast<size_t>(characterCount(replacement));
            continue;
        case SpellChoice::Ignore:
            break;
        }
        from = bad->span.start + bad->span.length;
    }
}

// Shows the word selected in the box, raises BadWord and asks the user through the dialog.
SpellChoice SpellChecker::ask(const corvane::BadWord& bad, std::string& replacement) {
    if (TextBox* box = attachedBox()) {
        box->SetSelStart(badWordStart_);
        box->SetSelLength(badWordLength_);
    }
    BadWord(0);
    if (!dialog_)
        dialog_ = Form::create<SpellDialog>();
    // Suggested only now, when shown: the service keeps them for every later occurrence.
    dialog_->ask(bad.word, rankSuggestions(bad.word, service_->suggest(bad.word),
                                           SpellingCommonWords::forDictionary(service_->dictionaryName())));
    WindowSystem::get().showModal(*dialog_, Parent());
    replacement = dialog_->Replacement();
    return dialog_->Choice();
}

void SpellChecker::replaceWord(const corvane::BadWord& bad, const std::string& replacement) {
    if (TextBox* box = attachedBox()) {
        box->SetSelStart(static_cast<int32_t>(bad.span.start));
        box->SetSelLength(static_cast<int32_t>(bad.span.length));
        box->SetSelText(replacement);
    } else {
        text_.replace(bad.span.byteStart, bad.span.byteLength, replacement);
        changed("Text");
    }
    Changed();
}

// Adds the word to the custom dictionary; when the file cannot take it, says so and goes on.
void SpellChecker::addWord(const std::string& word) {
    try {
        service_->addToDictionary(word);
    } catch (const VbError& error) {
        service_->ignoreAll(word);
        WindowSystem::get().MsgBox(error.description(), vbOKOnly | vbExclamation, MessageTitle);
    }
}

std::optional<Variant> SpellChecker::readProperty(std::string_view name) const {
    if (is(name, "CustomDictionary"))
        return Variant(customDictionary_);
    if (is(name, "Language"))
        return Variant(language_);
    if (is(name, "TextWindowHandle"))
        return Variant(textWindow_);
    if (is(name, "Text"))
        return Variant(text_);
    if (is(name, "StartCheck"))
        return Variant(false);
    if (is(name, "BadWordStart"))
        return Variant(badWordStart_);
    if (is(name, "BadWordLength"))
        return Variant(badWordLength_);
    return Control::readProperty(name);
}

bool SpellChecker::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "CustomDictionary"))
        SetCustomDictionary(value.toText());
    else if (is(name, "Language"))
        SetLanguage(value.toText());
    else if (is(name, "TextWindowHandle"))
        SetTextWindowHandle(value.toLong());
    else if (is(name, "Text"))
        SetText(value.toText());
    else if (is(name, "StartCheck"))
        SetStartCheck(value.toBool());
    else if (is(name, "BadWordStart") || is(name, "BadWordLength"))
        throw readOnly(name);
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
