// SpellChecker: the spell-check control (VB's vsSpell) on our spelling engine (Hunspell).
//
// It is attached to a text box by the box's window handle and checks and corrects the text
// in that box; with no box attached it checks its own Text. Setting StartCheck to True
// checks now and returns when the check has ended; during the call, for each questioned
// word it
//   1. sets BadWordStart/BadWordLength (characters, from 0), selects the word in the box
//      and raises BadWord,
//   2. shows its dialog (SpellDialog.h) modally through the window system, and
//   3. acts on the answer: Ignore; Ignore All (for the rest of this control's life, in every
//      language); Change (replaces the word by the dialog's replacement, selecting the word
//      in the box and replacing the selection, then raises Changed); Change All (the same,
//      and later occurrences of the word in this check change without asking); Add (adds
//      the word to the custom dictionary file); Cancel (ends the check).
// The check ends with Complete(1) when the user cancelled, else Complete(0).
//
// The dictionary follows Language (see SpellingService.h). A word's suggestions are searched
// when the dialog first shows it, then kept for as long as the program runs (shared with every
// other spell checker and the command line); the dialog lists them ranked (SuggestionRanking.h). When the language's dictionary
// is not installed, or the custom dictionary cannot be read, the check shows one message box
// with the reason (it names the dictionary and the folders searched) and ends with
// Complete(1): it never questions every word.
#pragma once

#include "controls/Control.h"
#include "controls/SpellDialog.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace corvane {
class SpellingService;
struct BadWord;
} // namespace corvane

namespace corvane::controls {

class TextBox;

class SpellChecker : public Control {
public:
    explicit SpellChecker(std::string name = "Spell");
    ~SpellChecker() override;

    // Path of the user's dictionary file ("custom.dic"); read at the next check, extended by
    // Add. An empty path keeps no words of the user.
    const std::string& CustomDictionary() const noexcept { return customDictionary_; }
    void SetCustomDictionary(std::string path);

    // The language whose dictionary checks the text ("Neutral" by default).
    const std::string& Language() const noexcept { return language_; }
    void SetLanguage(std::string language);

    // The window handle of the text box to check; 0 detaches. Raises 5 for a handle that is
    // not a live text box.
    int32_t TextWindowHandle() const noexcept { return textWindow_; }
    void SetTextWindowHandle(int32_t handle);

    // The control's own text, checked when no text box is attached.
    const std::string& Text() const noexcept { return text_; }
    void SetText(std::string text);

    // Always False when read; setting True runs a check (see the header comment). Raises 5
    // when a check is already running, 91 when the attached box has gone.
    bool StartCheck() const noexcept { return false; }
    void SetStartCheck(bool start);

    // Where the questioned word stands in the checked text (characters, from 0).
    int32_t BadWordStart() const noexcept { return badWordStart_; }
    int32_t BadWordLength() const noexcept { return badWordLength_; }

    // Raised for each questioned word, before the dialog shows: (Problem, always 0: a word not
    // in the dictionary).
    Event<int16_t> BadWord;
    // Raised after the control changed the checked text.
    Event<> Changed;
    // Raised when a check ends: (Cancelled: 1 when the user cancelled or the check could not
    // run, else 0).
    Event<int16_t> Complete;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    TextBox* attachedBox() const;
    std::string checkedText() const;
    bool prepare();
    bool runCheck();
    SpellChoice ask(const corvane::BadWord& bad, std::string& replacement);
    void replaceWord(const corvane::BadWord& bad, const std::string& replacement);
    void addWord(const std::string& word);

    std::string customDictionary_;
    std::string language_ = "Neutral";
    int32_t textWindow_ = 0;
    std::string text_;
    int32_t badWordStart_ = 0;
    int32_t badWordLength_ = 0;
    bool checking_ = false;
    std::unique_ptr<SpellingService> service_; // made at the first check after a new dictionary
    std::unique_ptr<SpellDialog> dialog_;
};

} // namespace corvane::controls
