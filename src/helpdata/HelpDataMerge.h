// HelpDataMerge: this program's changes to the help data applied onto the version of the data
// file that another program saved meanwhile (a second editor, an import, a compile), so that a
// save replaces only what this program changed.
//
// Three versions take part: the file as this program read it or last saved it (the base: kept
// in each record, HelpItem::fileTextIn and fileContextHelpID, and in StoredSettings), the records
// as they now stand (ours), and the file on disk now (theirs, loaded afresh). Per text (module,
// control, language) and per context number: a value only one side changed takes that side's
// value; both sides changing it to the same value is no conflict; both changing it differently
// is a conflict. Records and modules that only one side has are kept; nothing is removed because
// the other side lacks it. Settings: ours where this program changed them, else theirs; the
// selected languages of both; the current language (what the editor shows) stays ours.
//
//   HelpDataMerge merge(settings, stored, forms, formNames);
//   merge.compare(theirSettings, theirForms, theirNames);    // finds the conflicts, changes nothing
//   if (!merge.conflicts().empty()) ...                       // refuse, or choose a side:
//   merge.apply(MergeResolution::KeepOurs);                   // ours become the merged data, and
//                                                             // theirs the base of the next save
#pragma once

#include "helpdata/HelpDataSettings.h"
#include "helpdata/HelpItem.h"
#include "vbruntime/KeyedCollection.h"

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The settings as the data file held them, to tell this program's changes from another's.
struct StoredSettings {
    std::vector<std::string> languages;
    std::string primaryLanguage;
    std::string currentLanguage;
    bool generateWinHelp = false, generateHTML = false, compileWinHelp = false, compileHTML = false;
    std::optional<int> codePage;

    // The settings as they now stand.
    static StoredSettings of(const HelpDataSettings& settings);
    bool operator==(const StoredSettings&) const = default;
};

// A text or a context number that both sides changed, each to another value.
struct MergeConflict {
    std::string module;
    std::string control;
    std::string language; // empty: the context number

    // "frmMain/txtName (English)", "frmMain/txtName (context number)".
    std::string describe() const;
};

// What apply() does with a conflict.
enum class MergeResolution {
    Refuse,     // nothing may conflict (apply() raises VbError 5 otherwise)
    KeepOurs,   // this program's value stays
    TakeTheirs, // the other program's value is taken
};

class HelpDataMerge {
public:
    // Ours: the settings and records, and the settings as the file held them (all outlive it).
    HelpDataMerge(HelpDataSettings& settings, const StoredSettings& stored, ModuleRecords& forms,
                  NameList& formNames);

    // Compares ours with theirs (which outlive the merge) and lists the conflicts.
    void compare(const HelpDataSettings& theirSettings, const ModuleRecords& theirForms,
                 const NameList& theirNames);
    // The conflicts compare() found, in their file order.
    const std::vector<MergeConflict>& conflicts() const noexcept { return conflicts_; }
    // The texts of ours that compare() found changed only by the other program.
    int takenTexts() const noexcept { return takenTexts_; }
    // Where those texts are, and the texts of records only the other program has, in file order.
    const std::vector<MergeConflict>& takenPlaces() const noexcept { return takenPlaces_; }
    // Makes ours the merged data, conflicts resolved as `resolution` says; each record's and the
    // settings' base becomes theirs. Returns the settings theirs held (the new StoredSettings).
    StoredSettings apply(MergeResolution resolution);

private:
    void walk(bool apply, MergeResolution resolution);
    void mergeRecord(HelpItem& ours, const HelpItem& theirs, bool apply, MergeResolution resolution);
    HelpItems& ourModule(const std::string& name);
    void mergeSettings();

    HelpDataSettings& settings_;
    const StoredSettings& stored_;
    ModuleRecords& forms_;
    NameList& formNames_;
    const HelpDataSettings* theirSettings_ = nullptr;
    const ModuleRecords* theirForms_ = nullptr;
    const NameList* theirNames_ = nullptr;
    std::vector<MergeConflict> conflicts_;
    int takenTexts_ = 0;
    std::vector<MergeConflict> takenPlaces_;
};

} // namespace corvane
