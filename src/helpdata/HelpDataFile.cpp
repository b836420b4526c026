// HelpDataFile: finding and loading the help data file.
#include "helpdata/HelpDataFile.h"

#include "support/AtomicFile.h"
#include "support/CaseFold.h"
#include "support/Utilities.h"
#include "support/VbConvert.h"
#include "support/VbError.h"
#include "support/XmlEncoding.h"

#include <algorithm>
#include <array>

namespace corvane {

namespace fs = std::filesystem;

namespace {

const std::string Neutral = "Neutral";
const std::string EmptyDocument = "<Root></Root>";

// The 1-based line of a byte offset of the text (LF, CR LF and a lone CR end a line).
int lineAt(std::string_view text, std::ptrdiff_t offset) {
    if (offset < 0)
        return 0;
    size_t end = std::min(static_cast<size_t>(offset), text.size());
    int line = 1;
    for (size_t i = 0; i < end; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

// True when the stored context number fits the 32-bit number the record keeps.
bool contextNumberFits(std::string_view text) {
    double value = Val(text);
    return value >= -2147483648.5 && value < 2147483647.5;
}

std::string inQuotes(std::string_view name) {
    return "'" + std::string(name) + "'";
}

} // namespace

HelpDataFile::HelpDataFile(HelpDataSettings& settings) : settings_(settings) {}

bool HelpDataFile::isDataFileName(std::string_view fileName) {
    return equalsIgnoreCase(fileName, FileName);
}

fs::path HelpDataFile::locate(const fs::path& projectFile) {
    fs::path folder = projectFile.parent_path();
    fs::path exact = folder / FileName;
    std::error_code error;
    if (fs::exists(exact, error))
        return exact;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
         !error && it != end; it.increment(error))
        if (isDataFileName(it->path().filename().string()))
            return folder / it->path().filename();
    return exact;
}

void HelpDataFile::read(const fs::path& path) {
    path_ = path;
    existed_ = false;
    unreadable_ = false;
    originalKept_ = false;
    problems_.clear();
    text_.clear();
    document_ = XMLDocument();
    released_ = false;
    try {
        // The usual file, UTF-8 and well-formed, is parsed where it is read, without a copy.
        FileBuffer buffer = readFileBuffer(path, pugi::get_memory_allocation_function(),
                                           pugi::get_memory_deallocation_function());
        existed_ = true;
        if (document_.LoadInPlace(buffer.data, buffer.size))
            return;
        readDecoded(readFileBytes(path)); // the rest is decoded first (and problems named)
    } catch (const VbError& error) {
        if (error.number() != vberr::FileNotFound) {
            existed_ = unreadable_ = true;
            problems_.push_back({0, "it cannot be read (" + error.description() + ")"});
        }
        document_.LoadText(EmptyDocument);
    }
}

// Loads bytes that are not plain UTF-8 or not well-formed; the text stays for line numbers.
void HelpDataFile::readDecoded(std::string bytes) {
    text_ = decodeOwnedXmlBytes(std::move(bytes));
    if (text_.find('\0') != std::string::npos) {
        problems_.push_back(
            {0, "its text is in no encoding Corvane reads (it holds NUL bytes; Corvane reads "
                "UTF-8, Windows-1252 and UTF-16)"});
        document_.LoadText(EmptyDocument);
    } else if (!document_.LoadText(text_)) {
        const XmlParseError& error = *document_.LastError();
        problems_.push_back({error.line, "column " + std::to_string(error.column) +
                                             ": it is not well-formed XML: " + error.reason});
        document_.LoadText(EmptyDocument);
    }
}

bool HelpDataFile::isNew() const {
    if (released_)
        return releasedNew_;
    XMLElements children = document_.Root().Elements();
    return children.begin() == children.end();
}

void HelpDataFile::readSettings() {
    XMLAttributes attributes = document_.Root().Attributes();
    auto readFlag = [&](const char* name, bool& flag) {
        if (Utilities::ItemExists(attributes, name))
            flag = attributes.Item(name).Value() == "True";
    };
    readFlag("GenerateHTML", settings_.mGenerateHTML);
    readFlag("GenerateWinHelp", settings_.mGenerateWinHelp);
    readFlag("CompileHTML", settings_.mCompileHTML);
    readFlag("CompileWinHelp", settings_.mCompileWinHelp);
    if (Utilities::ItemExists(attributes, "PrimaryLanguage"))
        settings_.mPrimaryLanguage = attributes.Item("PrimaryLanguage").Value();
    if (Utilities::ItemExists(attributes, "CurrentLanguage"))
        settings_.mCurrentLanguage = attributes.Item("CurrentLanguage").Value();
    if (settings_.mCurrentLanguage.empty())
        settings_.mCurrentLanguage = Neutral;
}

void HelpDataFile::readSelectedLanguages() {
    NameList& languages = *settings_.SelectedLanguages;
    for (const XMLElement& child : document_.Root().Elements()) {
        if (!child.hasName("SelectedLanguage"))
            continue;
        XMLAttributes attributes = child.Attributes();
        if (!attributes.Contains("Name")) {
            addProblem(child, "a \"SelectedLanguage\" element without \"Name\" is skipped");
            continue;
        }
        std::string language = attributes.Item("Name").Value();
        if (!languages.Contains(language))
            languages.Add(language, language);
    }
}

void HelpDataFile::readRecords(ModuleRecords& forms, NameList& formNames) {
    for (const XMLElement& child : document_.Root().Elements())
        if (child.hasName("VBComponent"))
            readModule(child, forms, formNames);
    // The records hold everything now: the file's bytes and their document are freed.
    releasedNew_ = isNew();
    released_ = true;
    document_ = XMLDocument();
    std::string().swap(text_);
}

bool HelpDataFile::readModule(const XMLElement& element, ModuleRecords& forms,
                              NameList& formNames) {
    XMLAttributes attributes = element.Attributes();
    if (!attributes.Contains("ComponentName")) {
        addProblem(
            element,
            "a \"VBComponent\" element without \"ComponentName\": its records are not loaded");
        return false;
    }
    std::string module = attributes.Item("ComponentName").Value();
    if (forms.Contains(module)) {
        addProblem(element, "the module " + inQuotes(module) +
                                " is listed a second time (letter case ignored): " +
                                "the records of this element are not loaded");
        return false;
    }
    auto records = std::make_shared<HelpItems>();
    forms.Add(records, module);
    formNames.Add(module, module);
    for (const XMLElement& child : element.Elements())
        readRecord(child, module, *records);
    return true;
}

void HelpDataFile::readRecord(const XMLElement& element, const std::string& module,
                              HelpItems& records) {
    static constexpr std::array<std::string_view, 4> required = {"ComponentName", "ControlName",
                                                                 "ContextHelpID", "ControlType"};
    XMLAttributes attributes = element.Attributes();
    std::string key =
        attributes.Contains("ControlName") ? attributes.Item("ControlName").Value() : "";
    // Named only in problems, which are rare: not made for every record.
    auto where = [&] { return "the record " + inQuotes(key) + " of module " + inQuotes(module); };
    for (std::string_view name : required) {
        if (!attributes.Contains(name))
            return addProblem(element,
                              where() + " has no \"" + std::string(name) + "\": it is not loaded");
    }
    std::vector<std::string> languages; // those met so far; a record holds a few
    auto met = [&](std::string_view language) {
        return std::ranges::any_of(languages, [&](const std::string& seen) { return equalsIgnoreCase(seen, language); });
    };
    for (const XMLElement& text : element.Elements()) {
        if (!text.hasName("HelpText"))
            continue;
        if (!text.Attributes().Contains("Language"))
            return addProblem(text,
                              where() + " has a \"HelpText\" without \"Language\": it is not loaded");
        std::string language = text.Attributes().Item("Language").Value();
        if (met(language))
            addProblem(text, where() + " has a second text in " + inQuotes(language) +
                                 ": the first one is loaded");
        else
            languages.push_back(language);
        if (!settings_.SelectedLanguages->Contains(language) && !text.Text().empty())
            addProblem(text, where() + " has a text in " + inQuotes(language) +
                                 ", a language that is not selected: it is not loaded");
    }
    if (element.Elements().begin() == element.Elements().end() && !element.Text().empty() &&
        !settings_.SelectedLanguages->Contains(Neutral))
        addProblem(element, where() + " keeps its text in the older form (" + inQuotes(Neutral) +
                                "), a language that is not selected: it is not loaded");
    std::string number = attributes.Item("ContextHelpID").Value();
    if (!contextNumberFits(number))
        return addProblem(element, where() + " has the context number " + number +
                                       ", out of range: it is not loaded");
    if (records.Contains(key))
        return addProblem(
            element, where() + " is listed a second time (letter case ignored): it is not loaded");
    auto record = std::make_shared<HelpItem>(settings_.SelectedLanguages);
    record->LoadFromXML(element);
    // The scan replaces the caption from the live control; a record whose control cannot be
    // read this session keeps the stored one and is saved as it was.
    if (attributes.Contains("Caption"))
        record->Caption = attributes.Item("Caption").Value();
    std::string_view recordKey = record->ControlName; // lives on in the record
    records.Add(std::move(record), recordKey);
}

void HelpDataFile::load(const fs::path& path, ModuleRecords& forms, NameList& formNames) {
    read(path);
    if (isNew()) {
        if (!settings_.SelectedLanguages->Contains(Neutral))
            settings_.SelectedLanguages->Add(Neutral, Neutral);
        settings_.mCurrentLanguage = Neutral;
        settings_.mPrimaryLanguage = Neutral;
        return;
    }
    readSettings();
    readSelectedLanguages();
    readRecords(forms, formNames);
    if (settings_.mPrimaryLanguage.empty())
        settings_.mPrimaryLanguage = settings_.mCurrentLanguage;
}

void HelpDataFile::addProblem(const XMLElement& element, std::string what) {
    if (text_.empty() && existed_) { // parsed in place: the lines are counted in the file's text
        try {
            text_ = decodeOwnedXmlBytes(readFileBytes(path_));
        } catch (const VbError&) {
            // the problem is still told, without its line
        }
    }
    problems_.push_back({lineAt(text_, element.sourceOffset()), std::move(what)});
}

std::string HelpDataFile::problemReport() const {
    if (problems_.empty())
        return {};
    std::string text = "The help data file '" + path_.string() + "' ";
    bool damaged =
        problems_.size() == 1 && problems_[0].what.find("not well-formed") != std::string::npos;
    if (damaged) {
        text += "is damaged: line " + std::to_string(problems_[0].line) + ", " + problems_[0].what +
                ".";
    } else {
        text += "was not loaded completely:";
        for (const HelpDataProblem& problem : problems_)
            text +=
                "\n" +
                (problem.line > 0 ? "line " + std::to_string(problem.line) + ": " : std::string()) +
                problem.what + ".";
    }
    if (unreadable_)
        return text + "\nCorvane goes on without its help text; the file is not replaced while it "
                      "cannot be read.";
    return text + "\nBefore the help data is saved, the file's bytes are kept as '" +
           backupPath().string() + "'.  Corvane goes on without the help text it could not load.";
}

} // namespace corvane
