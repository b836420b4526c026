#include "helpdata/HelpDataMerge.h"

#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>

namespace corvane {

namespace {

std::vector<std::string> namesOf(const NameList& list) {
    return {list.begin(), list.end()};
}

// The languages a record has text in, on either side or in the file it was read from.
std::vector<std::string> languagesOf(const HelpItem& ours, const HelpItem& theirs) {
    std::vector<std::string> languages;
    auto add = [&](const HelpItem& record) {
        for (int32_t i = 1; i <= record.HelpTexts.Count(); ++i) {
            const std::string& language = record.HelpTexts.KeyAt(i);
            if (std::none_of(languages.begin(), languages.end(),
                             [&](const std::string& known) { return equalsIgnoreCase(known, language); }))
                languages.push_back(language);
        }
    };
    add(theirs);
    add(ours);
    return languages;
}

// A copy of a record of the other side, with ours' list of languages, as the file holds it.
std::shared_ptr<HelpItem> copyOf(const HelpItem& theirs, const SelectedLanguageList& languages) {
    auto record = std::make_shared<HelpItem>(languages);
    record->ComponentName = theirs.ComponentName;
    record->ControlName = theirs.ControlName;
    record->ControlType = theirs.ControlType;
    record->ContextHelpID = theirs.ContextHelpID;
    record->HelpTexts = theirs.HelpTexts;
    record->Caption = theirs.Caption;
    record->markAsInFile();
    return record;
}

// Which value a three-way merge keeps: 0 ours, 1 theirs, -1 a conflict.
template <typename T>
int choose(const T& base, const T& ours, const T& theirs) {
    if (ours == base)
        return 1;
    if (theirs == base || theirs == ours)
        return 0;
    return -1;
}

} // namespace

StoredSettings StoredSettings::of(const HelpDataSettings& settings) {
    StoredSettings stored;
    if (settings.SelectedLanguages)
        stored.languages = namesOf(*settings.SelectedLanguages);
    stored.primaryLanguage = settings.mPrimaryLanguage;
    stored.currentLanguage = settings.mCurrentLanguage;
    stored.generateWinHelp = settings.mGenerateWinHelp;
    stored.generateHTML = settings.mGenerateHTML;
    stored.compileWinHelp = settings.mCompileWinHelp;
    stored.compileHTML = settings.mCompileHTML;
    stored.codePage = settings.codePage;
    return stored;
}

std::string MergeConflict::describe() const {
    return module + "/" + control + " (" + (language.empty() ? std::string("context number") : language) + ")";
}

HelpDataMerge::HelpDataMerge(HelpDataSettings& settings, const StoredSettings& stored, ModuleRecords& forms,
                             NameList& formNames)
    : settings_(settings), stored_(stored), forms_(forms), formNames_(formNames) {}

void HelpDataMerge::compare(const HelpDataSettings& theirSettings, const ModuleRecords& theirForms,
                            const NameList& theirNames) {
    theirSettings_ = &theirSettings;
    theirForms_ = &theirForms;
    theirNames_ = &theirNames;
    conflicts_.clear();
    takenTexts_ = 0;
    takenPlaces_.clear();
    walk(false, MergeResolution::Refuse);
}

StoredSettings HelpDataMerge::apply(MergeResolution resolution) {
    if (!theirForms_)
        throw VbError(vberr::InvalidCall, "The merge has nothing to apply: compare() was not called");
    if (resolution == MergeResolution::Refuse && !conflicts_.empty())
        throw VbError(vberr::InvalidCall, "The merge has conflicts: " + conflicts_.front().describe());
    StoredSettings theirs = StoredSettings::of(*theirSettings_);
    mergeSettings();
    walk(true, resolution);
    // What the other side's file does not hold is, from now on, a change of ours.
    for (int32_t m = 1; m <= forms_.Count(); ++m) {
        const std::string& module = formNames_.Item(m);
        const bool theyHaveModule = theirForms_->Contains(module);
        for (const auto& record : *forms_.Item(m))
            if (!theyHaveModule || !theirForms_->Item(module)->Contains(record->ControlName))
                record->markFileState(nullptr);
    }
    return theirs;
}

void HelpDataMerge::walk(bool apply, MergeResolution resolution) {
    for (int32_t m = 1; m <= theirForms_->Count(); ++m) {
        const std::string& module = theirNames_->Item(m);
        const HelpItems& theirRecords = *theirForms_->Item(m);
        HelpItems* ours = forms_.Contains(module) ? forms_.Item(module).get() : nullptr;
        for (const auto& theirs : theirRecords) {
            if (ours && ours->Contains(theirs->ControlName)) {
                mergeRecord(*ours->Item(theirs->ControlName), *theirs, apply, resolution);
            } else if (apply) { // a record only the other side has is kept
                ourModule(module).Add(copyOf(*theirs, settings_.SelectedLanguages), theirs->ControlName);
                ours = forms_.Item(module).get();
            } else {
                for (int32_t t = 1; t <= theirs->HelpTexts.Count(); ++t)
                    if (!theirs->HelpTexts.Item(t).empty())
                        takenPlaces_.push_back({module, theirs->ControlName.str(), theirs->HelpTexts.KeyAt(t)});
            }
        }
    }
}

void HelpDataMerge::mergeRecord(HelpItem& ours, const HelpItem& theirs, bool apply, MergeResolution resolution) {
    auto conflict = [&](std::string language) {
        if (!apply)
            conflicts_.push_back({theirs.ComponentName.empty() ? ours.ComponentName : theirs.ComponentName,
                                  ours.ControlName.str(), std::move(language)});
        return resolution == MergeResolution::TakeTheirs ? 1 : 0;
    };
    for (const std::string& language : languagesOf(ours, theirs)) {
        const std::string_view theirText = theirs.textIn(language);
        int side = choose(ours.fileTextIn(language), ours.textIn(language), theirText);
        if (side < 0)
            side = conflict(language);
        if (side == 1 && ours.textIn(language) != theirText) {
            if (!apply) {
                ++takenTexts_;
                takenPlaces_.push_back({theirs.ComponentName.empty() ? ours.ComponentName : theirs.ComponentName,
                                        ours.ControlName.str(), language});
            } else
                ours.SetHelpText(language, std::string(theirText));
        }
    }
    int side = choose(ours.fileContextHelpID(), ours.ContextHelpID, theirs.ContextHelpID);
    if (side < 0)
        side = conflict({});
    if (apply) {
        if (side == 1)
            ours.ContextHelpID = theirs.ContextHelpID;
        ours.markFileState(&theirs);
    }
}

HelpItems& HelpDataMerge::ourModule(const std::string& name) {
    if (!forms_.Contains(name)) {
        forms_.Add(std::make_shared<HelpItems>(), name);
        formNames_.Add(name, name);
    }
    return *forms_.Item(name);
}

void HelpDataMerge::mergeSettings() {
    const HelpDataSettings& theirs = *theirSettings_;
    auto pick = [](auto base, auto& ours, const auto& their) {
        if (ours == base)
            ours = their;
    };
    pick(stored_.primaryLanguage, settings_.mPrimaryLanguage, theirs.mPrimaryLanguage);
    pick(stored_.generateWinHelp, settings_.mGenerateWinHelp, theirs.mGenerateWinHelp);
    pick(stored_.generateHTML, settings_.mGenerateHTML, theirs.mGenerateHTML);
    pick(stored_.compileWinHelp, settings_.mCompileWinHelp, theirs.mCompileWinHelp);
    pick(stored_.compileHTML, settings_.mCompileHTML, theirs.mCompileHTML);
    pick(stored_.codePage, settings_.codePage, theirs.codePage);
    // The languages of both: a language either side selected keeps its texts.
    NameList& languages = *settings_.SelectedLanguages;
    const std::vector<std::string> ours = namesOf(languages);
    if (ours == stored_.languages)
        languages.Clear();
    for (const std::string& language : *theirs.SelectedLanguages)
        if (!languages.Contains(language))
            languages.Add(language, language);
}

} // namespace corvane
