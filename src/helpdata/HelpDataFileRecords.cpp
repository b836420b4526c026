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

#include <cstring>

namespace corvane {

namespace {

std::string inQuotes(std::string_view name) {
    return "'" + std::string(name) + "'";
}

// Something a module did not take: where its element starts in the parsed text, and what.
struct PendingProblem {
    std::ptrdiff_t offset = -1;
    std::string what;
};

} // namespace

struct HelpDataFile::ModuleToRead {
    pugi::xml_node element;
    std::string name;
    std::shared_ptr<HelpItems> records; // null for a module that is not loaded
    std::vector<PendingProblem> problems;
};

void HelpDataFile::readRecords(ModuleRecords& forms, NameList& formNames) {
    if (plainRead_ && plain_.readRecords(forms, formNames))
        return releaseSource();
    parseKeptBytes(); // something in it is a problem to name: the document reading names it
    std::vector<ModuleToRead> modules;
    for (pugi::xml_node child : shape_.modules)
        modules.push_back(takeModule(child, forms, formNames));
    forEachInParallel(modules.size(), [&](size_t i) { readModuleRecords(modules[i]); });
    for (ModuleToRead& module : modules)
        for (PendingProblem& problem : module.problems)
            addProblem(problem.offset, std::move(problem.what));
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
        module.problems.push_back({element.offset_debug(),
                                   "the module " + inQuotes(module.name) +
                                       " is listed a second time (letter case ignored): " +
                                       "the records of this element are not loaded"});
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
    auto problem = [&](pugi::xml_node node, const std::string& what) {
        module.problems.push_back({node.offset_debug(), "the record " + inQuotes(key) +
                                                            " of module " + inQuotes(module.name) +
                                                            what});
    };
    if (std::optional<std::string_view> missing = stored.missingKeyAttribute())
        return problem(element, " has no \"" + std::string(*missing) + "\": it is not loaded");
    for (pugi::xml_node text : stored.texts()) {
        pugi::xml_attribute language = text.attribute("Language");
        if (!language)
            return problem(text, " has a \"HelpText\" without \"Language\": it is not loaded");
        if (stored.isRepeatedLanguage(text))
            problem(text, " has a second text in " + inQuotes(language.value()) +
                              ": the first one is loaded");
    }
    for (StoredRecord::Departure& departure : stored.departures())
        module.problems.push_back({departure.offset, "the record " + inQuotes(key) + " of module " +
                                                         inQuotes(module.name) + departure.what});
    std::string_view number = stored.value(StoredRecord::ContextHelpID);
    if (!HelpItem::fitsContextNumber(number))
        return problem(element, " has the context number " + std::string(number) +
                                    ", out of range: it is not loaded");
    if (module.records->Contains(key))
        return problem(element, " is listed a second time (letter case ignored): it is not loaded");
    auto record = std::make_shared<HelpItem>(settings_.SelectedLanguages);
    stored.fill(*record);
    std::string_view recordKey = record->ControlName; // lives on in the record
    module.records->Add(std::move(record), recordKey);
}

} // namespace corvane
