// HelpDataFile: the records of a loaded document.
//
// A large project has tens of thousands of records. They are read straight from the parsed
// nodes, one pass over each element (StoredRecord), and the modules are read on as many threads
// as there are cores: each module's records are its own, the parsed document and the selected
// languages are only read, and what a module does not take is collected with it and told in
// file order afterwards.
#include "helpdata/HelpDataFile.h"

#include "helpdata/StoredRecord.h"
#include "process/ParallelFor.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/HelpTextList.h"

#include <cstring>
#include <iterator>

namespace corvane {

namespace {

std::string inQuotes(std::string_view name) {
    return "'" + std::string(name) + "'";
}

// Something a module did not take: where its element starts in the parsed text, and what.
struct PendingProblem {
    std::ptrdiff_t offset = -1;
    std::string what;
    bool losesText = true;
};

// `names` in quotes, separated by commas.
std::string quotedList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + inQuotes(name);
    return list;
}

// A second element of a record already loaded (`first`), read as `second`: what of it is
// taken, for its load problem. The same content is loaded once; of other content, the texts
// in languages the first lacks are added to it, so that no text is lost that can be kept; the
// rest stays in the file's copy made before the save. Nothing is lost when all of it was taken.
std::pair<std::string, bool> takeRepeatedRecord(HelpItem& first, const HelpItem& second) {
    std::vector<std::string> taken, other;
    for (int32_t t = 1; t <= second.HelpTexts.Count(); ++t) {
        const std::string& language = second.HelpTexts.KeyAt(t);
        if (!first.HelpTexts.Contains(language))
            taken.push_back(language);
        else if (first.HelpTexts.Item(language) != second.HelpTexts.Item(t))
            other.push_back(language);
    }
    const bool sameNumber = first.ContextHelpID == second.ContextHelpID;
    if (taken.empty() && other.empty() && sameNumber && first.ControlType == second.ControlType)
        return {" is listed a second time with the same texts: it is loaded once", false};
    for (const std::string& language : taken)
        first.SetHelpText(language, std::string(second.HelpTexts.Item(language)));
    std::vector<std::string> parts;
    if (!taken.empty())
        parts.push_back((taken.size() == 1 ? "its text in " : "its texts in ") + quotedList(taken) +
                        (taken.size() == 1 ? " is" : " are") + " added to the first one");
    if (!other.empty())
        parts.push_back((other.size() == 1 ? "its other text in " : "its other texts in ") + quotedList(other) +
                        (other.size() == 1 ? " is" : " are") + " not loaded");
    if (!sameNumber)
        parts.push_back("its context number " + std::to_string(second.ContextHelpID) + " is not loaded");
    if (first.ControlType != second.ControlType)
        parts.push_back("its control type " + inQuotes(second.ControlType) + " is not loaded");
    std::string what = " is listed a second time (letter case ignored): ";
    for (size_t i = 0; i < parts.size(); ++i)
        what += (i == 0 ? "" : "; ") + parts[i];
    return {what, !other.empty() || !sameNumber || first.ControlType != second.ControlType};
}

} // namespace

struct HelpDataFile::ModuleToRead {
    pugi::xml_node element;
    std::string name;
    std::shared_ptr<HelpItems> records; // null for a module that is not loaded
    std::vector<PendingProblem> problems;
    bool repeated = false; // a second element of a module: its records go to the first one's
};

void HelpDataFile::readRecords(ModuleRecords& forms, NameList& formNames) {
    if (plainRead_ && plain_.readRecords(forms, formNames))
        return releaseSource();
    parseKeptBytes(); // something in it is a problem to name: the document reading names it
    std::vector<ModuleToRead> modules;
    for (pugi::xml_node child : shape_.modules)
        modules.push_back(takeModule(child, forms, formNames));
    forEachInParallel(modules.size(), [&](size_t i) {
        if (!modules[i].repeated)
            readModuleRecords(modules[i]);
    });
    // A module listed twice shares its records with its first element: read after it, in turn.
    for (ModuleToRead& module : modules)
        if (module.repeated)
            readModuleRecords(module);
    for (ModuleToRead& module : modules)
        for (PendingProblem& problem : module.problems)
            addProblem(problem.offset, std::move(problem.what), problem.losesText);
    releaseSource();
}

// The records hold everything now: the file's bytes and their document are freed.
void HelpDataFile::releaseSource() {
    releasedNew_ = isNew();
    released_ = true;
    plainRead_ = false;
    plain_ = PlainHelpData();
    keptBytes_.reset();
    document_ = XMLDocument();
    shape_ = HelpDataShape();
    std::string().swap(text_);
    lineCounter_ = LineCounter({});
}

// Adds the module's collection of records (still empty) to `forms`, unless it cannot be loaded.
HelpDataFile::ModuleToRead HelpDataFile::takeModule(pugi::xml_node element, ModuleRecords& forms,
                                                    NameList& formNames) {
    ModuleToRead module{element, {}, nullptr, {}};
    pugi::xml_attribute name = element.attribute("ComponentName");
    if (!name) {
        module.problems.push_back(
            {element.offset_debug(),
             "a \"VBComponent\" element without \"ComponentName\": its records are not loaded"});
        return module;
    }
    module.name = name.value();
    if (forms.Contains(module.name)) {
        // Its records are read into the first element's (version-control merges make such files).
        module.problems.push_back({element.offset_debug(),
                                   "the module " + inQuotes(module.name) +
                                       " is listed a second time (letter case ignored): " +
                                       "the records of this element are read into the first one",
                                   false});
        module.records = forms.Item(module.name);
        module.repeated = true;
        return module;
    }
    module.records = std::make_shared<HelpItems>();
    forms.Add(module.records, module.name);
    formNames.Add(module.name, module.name);
    return module;
}

void HelpDataFile::readModuleRecords(ModuleToRead& module) const {
    if (!module.records)
        return;
    for (pugi::xml_node child = module.element.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element)
            readRecord(child, module);
    module.records->shrinkToFit();
}

void HelpDataFile::readRecord(pugi::xml_node element, ModuleToRead& module) const {
    StoredRecord stored(element);
    std::string_view key = stored.value(StoredRecord::ControlName);
    // Named only in problems, which are rare: not made for every record.
    auto problem = [&](pugi::xml_node node, const std::string& what, bool losesText = true) {
        module.problems.push_back(
            {node.offset_debug(), "the record " + inQuotes(key) + " of module " + inQuotes(module.name) + what, losesText});
    };
    if (std::optional<std::string_view> missing = stored.missingKeyAttribute())
        return problem(element, " has no \"" + std::string(*missing) + "\": it is not loaded");
    if (const size_t count = std::ranges::distance(stored.texts()); count > HelpTextList::MaxCount)
        return problem(element, " holds " + std::to_string(count) + " texts, more than the " +
                                    std::to_string(HelpTextList::MaxCount) + " a record holds: it is not loaded");
    for (pugi::xml_node text : stored.texts()) {
        pugi::xml_attribute language = text.attribute("Language");
        if (!language)
            return problem(text, " has a \"HelpText\" without \"Language\": it is not loaded");
        if (stored.isRepeatedLanguage(text))
            problem(text, " has a second text in " + inQuotes(language.value()) +
                              ": the first one is loaded");
    }
    for (StoredRecord::Departure& departure : stored.departures())
        module.problems.push_back({departure.offset,
                                   "the record " + inQuotes(key) + " of module " + inQuotes(module.name) + departure.what,
                                   departure.losesText});
    std::string_view number = stored.value(StoredRecord::ContextHelpID);
    if (!HelpItem::fitsContextNumber(number))
        return problem(element, " has the context number " + std::string(number) +
                                    ", out of range: it is not loaded");
    auto record = std::make_shared<HelpItem>(settings_.SelectedLanguages);
    stored.fill(*record);
    if (module.records->Contains(key)) {
        const auto [what, losesText] = takeRepeatedRecord(*module.records->Item(key), *record);
        return problem(element, what, losesText);
    }
    std::string_view recordKey = record->ControlName; // lives on in the record
    module.records->Add(std::move(record), recordKey);
}

} // namespace corvane
