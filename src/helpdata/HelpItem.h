// HelpItem: the help data of one control (one member of a control array): where it lives,
// its context number, its caption and its help text in every language.
//
// The record writes itself into and reads itself from one XML element of the help data file:
//   <HelpItem ComponentName=".." ControlName=".." ContextHelpID=".." ControlType=".." Caption="..">
//     <HelpText Language="English">text</HelpText> ...
//   </HelpItem>
// It reads and extends the shared list of selected languages while it does so.
#pragma once

#include "addin/ErrorScope.h"
#include "helpdata/HelpDataSettings.h"
#include "vbruntime/HelpTextList.h"
#include "vbruntime/KeyedCollection.h"
#include "vbruntime/NamePool.h"
#include "vbruntime/ShortText.h"
#include "xml/XMLElement.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace corvane {

namespace vbide {
class VBControl;
}

class HelpItem : public ReportsVariables {
public:
    static constexpr std::string_view VbTypeName = "HelpItem";

    // A fresh record reading and extending the shared list of selected languages; the slot
    // outlives the record.
    explicit HelpItem(const SelectedLanguageList& selectedLanguages);
    ~HelpItem() override;

    // Name of the form or user control that holds the control.
    PooledName ComponentName;
    // The control key: the control's name, with "(index)" for a member of a control array.
    ShortText ControlName;
    // The control's type name.
    PooledName ControlType;
    // The help text per language, keyed by language name (letter case ignored), in the
    // order the languages were last set.
    HelpTextList HelpTexts;
    // The control's caption at the last scan.
    ShortText Caption;
    // Context number of the control's popup topic; 0 when it has none.
    int32_t ContextHelpID = 0;
    // Set by the project scan on every record it matched with a live control.
    bool Tag = false;
    // Set by the project scan on a record whose control (or module) is no longer in the
    // project: kept, without a control, for its help text, which a renamed control can take over.
    bool gone = false;

    // The live IDE control behind the record (null when none).
    const std::shared_ptr<vbide::VBControl>& Control() const { return mControl; }
    // Stores the reference to the live control; reads nothing from it.
    void SetControl(std::shared_ptr<vbide::VBControl> control);

    // Writes the record into `e`: its attributes, then one "HelpText" child per selected
    // language that has text, then the texts of languages that are not selected (kept until the
    // language is selected again). Adds "Neutral" to an empty SelectedLanguages first.
    void SaveToXML(XMLElement e);
    // True when a context number as the data file stores it fits the record's 32-bit number.
    static bool fitsContextNumber(std::string_view stored);
    // Fills the record from `e`, the texts of every language (also those not selected).
    void LoadFromXML(const XMLElement& e);
    // True when a stored text in `language` is taken: the record has no text in it yet, the
    // first text of a language winning (letter case ignored).
    bool takesTextIn(std::string_view language) const;
    // True when at least one language has text other than spaces.
    bool HasHelpText();
    // The same answer, without the error handling of a procedure: it cannot fail, and it
    // changes nothing, so threads that only read the records may ask it.
    bool hasText() const;
    // The stored text for `language` (letter case ignored), or "" when there is none; also
    // without error handling, for readers on other threads. Valid until the texts change.
    std::string_view textIn(std::string_view language) const;
    // The same, the text looked for first at position `hint` (from 0), where records read from
    // a file hold the text of the `hint`-th selected language.
    std::string_view textIn(std::string_view language, size_t hint) const;
    // The position (from 1) of the text in `language` (letter case ignored), 0 when there is
    // none; the key at `hint` (from 0) is taken when it is `language` as it stands.
    int32_t textPosition(std::string_view language, size_t hint) const;
    // The text for `Language` (letter case ignored), or "" when there is none.
    std::string GetHelpText(const std::string& Language);
    // Stores `Text` for `Language`, replacing and moving an earlier text to the end.
    void SetHelpText(const std::string& Language, const std::string& Text);
    // Removes the text in `language` (letter case ignored); nothing when there is none.
    void removeText(std::string_view language);

    // The fields as an error report renders them.
    NamedValues moduleVariables() const override;

    // The record as the data file held it when the file was read or last saved: what a save
    // tells apart as this program's own changes from another program's (HelpDataMerge).
    // True when the file held the record.
    bool inFile() const noexcept { return inFile_; }
    // The context number the file held (0 when it held no record).
    int32_t fileContextHelpID() const noexcept { return fileContextHelpID_; }
    // The text the file held in `language` ("" when none).
    std::string_view fileTextIn(std::string_view language) const;
    // True when a text may differ from the file's (one was set since).
    bool textsChanged() const noexcept { return fileTexts_ != nullptr; }
    // Takes the record as it now stands as the file's (after a load or a save).
    void markAsInFile();
    // Takes the texts and context number of `stored` as the file's (the file another program
    // wrote, merged into this record); nothing as the file's when `stored` is null.
    void markFileState(const HelpItem* stored);

private:
    const SelectedLanguageList& selectedLanguages_;
    std::shared_ptr<vbide::VBControl> mControl;
    // The file's texts while the record's may differ from them (null: they are the file's).
    std::unique_ptr<HelpTextList> fileTexts_;
    int32_t fileContextHelpID_ = 0;
    bool inFile_ = false;
};

// One module's help item records, keyed by control key.
using HelpItems = KeyedCollection<std::shared_ptr<HelpItem>, ShortText>;

// What a walk of records reads besides the records: their controls, or their texts.
enum class RecordParts { Texts, ControlsAndTexts };

// Asks the processor for what a walk of `records` reaches a few records after `index` (from 0):
// the records, their texts (and their controls), and the text at `textIndex` (from 0). Every
// record, list of texts and control is a block of its own in memory; a walk of tens of thousands
// of records that waits for each in turn spends most of its time waiting.
inline void prefetchAhead(const HelpItems& records, size_t index, size_t textIndex,
                          RecordParts parts = RecordParts::Texts) {
    const size_t count = static_cast<size_t>(records.Count());
    const auto first = records.begin();
    if (index + 8 < count)
        __builtin_prefetch(first[static_cast<std::ptrdiff_t>(index + 8)].get());
    if (index + 4 < count) {
        const HelpItem& record = *first[static_cast<std::ptrdiff_t>(index + 4)];
        __builtin_prefetch(record.HelpTexts.storage());
        if (parts == RecordParts::ControlsAndTexts)
            __builtin_prefetch(record.Control().get());
    }
    if (index + 2 < count) {
        const HelpTextList& texts = first[static_cast<std::ptrdiff_t>(index + 2)]->HelpTexts;
        if (textIndex < static_cast<size_t>(texts.Count()))
            __builtin_prefetch(texts.Item(static_cast<int32_t>(textIndex) + 1).data());
    }
}

// Calls `visit(record)` for each record of `records` in order (a shared pointer), fetching
// ahead what hasText, `parts` and the text at `textIndex` (from 0) read.
template <typename Visit>
void forEachRecord(const HelpItems& records, RecordParts parts, Visit&& visit, size_t textIndex = 0) {
    const auto first = records.begin();
    for (size_t i = 0; i < static_cast<size_t>(records.Count()); ++i) {
        prefetchAhead(records, i, textIndex, parts);
        visit(first[static_cast<std::ptrdiff_t>(i)]);
    }
}
// Every module's records, keyed by module name.
using ModuleRecords = KeyedCollection<std::shared_ptr<HelpItems>>;

} // namespace corvane
