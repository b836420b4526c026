// HelpDataFile: finding and loading the help data file.
#include "helpdata/HelpDataFile.h"

#include "files/FileReading.h"
#include "helpdata/HelpDataShape.h"
#include "text/LineCounter.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/Utilities.h"
#include "vbruntime/VbConvert.h"
#include "vbruntime/VbError.h"
#include "xml/XmlEncoding.h"

#include <algorithm>
#include <new>
#include <utility>

namespace corvane {

namespace fs = std::filesystem;

namespace {

const std::string EmptyDocument = "<Root></Root>";

// From this size on, a file in the plain form is read into its records a piece at a time, its
// memory going back as they are read. Smaller files hold memory the records do not miss, and
// their bytes stay whole for a document that may follow.
constexpr size_t ReadInPiecesFrom = size_t{16} << 20;

// The code page a "CodePage" attribute names: a number from 1 to 65535 (blanks around it and
// leading zeros, as hand edits leave them, are read past) and nothing else.
std::optional<int> codePageSetting(const std::optional<std::string>& value) {
    if (!value)
        return std::nullopt;
    std::string_view digits = *value;
    const size_t first = digits.find_first_not_of(" \t");
    digits = first == std::string_view::npos ? std::string_view() : digits.substr(first);
    digits = digits.substr(0, digits.find_last_not_of(" \t") + 1);
    if (digits.empty() || !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    digits = digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty() || digits.size() > 5)
        return std::nullopt;
    const int codePage = std::stoi(std::string(digits));
    return codePage <= 65535 ? std::optional<int>(codePage) : std::nullopt;
}

// The code page the root's "CodePage" attribute names in a file's bytes (ASCII in every code
// page the file may be in); none when the root has no such attribute.
std::optional<int> storedCodePageOf(std::string_view bytes) {
    const size_t root = bytes.find("<Root");
    const size_t end = root == std::string_view::npos ? root : bytes.find('>', root);
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view tag = bytes.substr(root, end - root);
    const size_t name = tag.find(" CodePage=");
    if (name == std::string_view::npos || name + 11 >= tag.size())
        return std::nullopt;
    const char quote = tag[name + 10];
    const size_t close = tag.find(quote, name + 11);
    if ((quote != '"' && quote != '\'') || close == std::string_view::npos)
        return std::nullopt;
    return codePageSetting(std::string(tag.substr(name + 11, close - name - 11)));
}

} // namespace

HelpDataFile::HelpDataFile(HelpDataSettings& settings) : settings_(settings) {}

bool HelpDataFile::isDataFileName(std::string_view fileName) {
    return equalsIgnoreCase(fileName, FileName);
}

fs::path HelpDataFile::locate(const fs::path& projectFile) {
    // The name as the folder lists it, also where the system matches names in any letter case
    // itself (Windows): the project then names the file the user sees.
    fs::path folder = projectFile.parent_path();
    fs::path exact = folder / FileName;
    fs::path other;
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name == FileName)
            return exact;
        if (other.empty() && isDataFileName(name))
            other = folder / it->path().filename();
    }
    return other.empty() ? exact : other;
}

void HelpDataFile::read(const fs::path& path, ReadFor purpose) {
    path_ = path;
    existed_ = false;
    unreadable_ = false;
    originalKept_ = false;
    readInCodePage_.reset();
    problems_.clear();
    text_.clear();
    lineCounter_ = LineCounter({});
    document_ = XMLDocument();
    plainRead_ = false;
    plain_ = PlainHelpData();
    keptBytes_.reset();
    released_ = false;
    version_ = FileVersion();
    try {
        version_ = openFileVersion(path);
        // For the records, the file as the program writes it is read straight into them (a large
        // one a piece at a time); any other UTF-8 file that is well-formed is parsed where it
        // was read, without a copy.
        const bool inPieces = purpose == ReadFor::Records && version_.exists() &&
                              version_.stamp().size >= ReadInPiecesFrom;
        if (inPieces && readPlainInPieces()) {
            existed_ = true;
            return;
        }
        FileBuffer buffer = readVersionBytes();
        existed_ = true;
        if (purpose == ReadFor::Records && !inPieces && readPlain(buffer))
            return;
        if (holdsTextDepartures(std::string_view(buffer.data, buffer.size)))
            pugi::get_memory_deallocation_function()(buffer.data); // the text's reading names them
        else if (document_.LoadInPlace(buffer.data, buffer.size))
            return checkShape();
        readDecoded(readFileBytes(version_, path)); // the rest is decoded first (and problems named)
    } catch (const VbError& error) {
        if (error.number() != vberr::FileNotFound) {
            existed_ = unreadable_ = true;
            problems_.push_back({0, "it cannot be read (" + error.description() + ")"});
        }
        document_.LoadText(EmptyDocument);
    }
}

FileBuffer HelpDataFile::readVersionBytes() const {
    return readFileBuffer(version_, path_, pugi::get_memory_allocation_function(),
                          pugi::get_memory_deallocation_function());
}

bool HelpDataFile::readPlain(FileBuffer& buffer) {
    if (!plain_.read(buffer.data, buffer.size, settings_.SelectedLanguages, PlainHelpData::BytesRead::Keep))
        return false;
    keptBytes_ = {buffer.data, pugi::get_memory_deallocation_function()};
    keptSize_ = buffer.size;
    plainRead_ = true;
    return true;
}

bool HelpDataFile::readPlainInPieces() {
    // The buffer's pages take memory only once bytes are read into them, and each piece's pages
    // go back once its records are read: the file's bytes are never all held beside its records.
    const size_t size = version_.stamp().size;
    std::unique_ptr<char, void (*)(void*)> bytes(static_cast<char*>(pugi::get_memory_allocation_function()(size)),
                                                 pugi::get_memory_deallocation_function());
    if (!bytes)
        throw std::bad_alloc();
    const int fd = version_.fd();
    const auto more = [&](size_t from, size_t upTo) { return from + readFileAt(fd, from, bytes.get() + from, upTo - from); };
    char beyond = 0;
    if (!plain_.read(bytes.get(), size, settings_.SelectedLanguages, PlainHelpData::BytesRead::GiveBack, more) ||
        readFileAt(fd, size, &beyond, 1) != 0) { // not plain, or the file grew while it was read
        plain_ = PlainHelpData();
        return false;
    }
    keptBytes_ = std::move(bytes);
    keptSize_ = size;
    plainRead_ = true;
    return true;
}

// The kept bytes of a file in the plain form become the document (they are well-formed).
void HelpDataFile::parseKeptBytes() {
    if (!plainRead_)
        return;
    plainRead_ = false;
    const bool gaveBytesBack = plain_.gaveBytesBack();
    plain_ = PlainHelpData();
    try {
        if (gaveBytesBack) { // the records it took were read from bytes that are given back
            keptBytes_.reset();
            FileBuffer buffer = readVersionBytes();
            keptBytes_ = {buffer.data, pugi::get_memory_deallocation_function()};
            keptSize_ = buffer.size;
        }
    } catch (const VbError& error) {
        unreadable_ = true;
        problems_.push_back({0, "it cannot be read (" + error.description() + ")"});
        document_.LoadText(EmptyDocument);
        return;
    }
    if (document_.LoadInPlace(keptBytes_.release(), keptSize_))
        return checkShape();
    try { // not expected: the plain form is well-formed
        readDecoded(readFileBytes(version_, path_));
    } catch (const VbError& error) {
        unreadable_ = true;
        problems_.push_back({0, "it cannot be read (" + error.description() + ")"});
        document_.LoadText(EmptyDocument);
    }
}

XMLDocument HelpDataFile::readDocument() {
    parseKeptBytes();
    return document_;
}

// Loads bytes that are not plain UTF-8 or not well-formed; the text stays for line numbers.
// Bytes that are not UTF-8 in a UTF-8 file are read one by one and named by line: the file is
// then not loaded whole, and its bytes are kept before a save.
void HelpDataFile::readDecoded(std::string bytes) {
    const int codePage = storedCodePageOf(bytes).value_or(ansiCodePage_);
    CheckedXmlText checked;
    if (std::optional<std::string> text = decodeUndeclaredXmlBytes(bytes, codePage)) {
        checked.text = std::move(*text);
        readInCodePage_ = codePage;
    } else {
        checked = decodeXmlBytesChecked(bytes);
    }
    std::string().swap(bytes);
    text_ = std::move(checked.text);
    if (!checked.replaced.empty())
        addReplacedBytesProblem(checked.replaced);
    for (ShapeDeparture& departure : findTextDepartures(text_))
        addProblem(departure.offset, std::move(departure.what), departure.losesText);
    dropNulReferences(text_);
    // A text in UTF-32 (or no text at all) holds NUL bytes from its start; NUL bytes elsewhere
    // are damage (a block the system never wrote, an editor's slip) around which the text is read.
    const size_t firstNul = text_.find('\0');
    if (firstNul != std::string::npos && firstNul < 4) {
        problems_.push_back(
            {0, "its text is in no encoding Corvane reads (it holds NUL bytes; Corvane reads "
                "UTF-8, Windows-1252 and UTF-16)"});
        document_.LoadText(EmptyDocument);
    } else {
        if (firstNul != std::string::npos)
            dropNulBytes(firstNul);
        if (!document_.LoadText(text_))
            readSalvaged(*document_.LastError());
    }
    checkShape();
}

// A text that is not well-formed from some point on: what comes before it is read.
void HelpDataFile::readSalvaged(const XmlParseError& error) {
    std::string what = "column " + std::to_string(error.column) + ": it is not well-formed XML: " + error.reason;
    std::optional<std::string> start = salvagedStart(text_, error.offset);
    if (start && document_.LoadText(*start)) {
        what += "; what stands before it was read, the rest is not";
    } else {
        document_.LoadText(EmptyDocument);
    }
    problems_.push_back({error.line, std::move(what)});
}

// Where the document keeps its languages and modules; what departs from the program's form is
// a problem (the file is then kept before a save).
void HelpDataFile::checkShape() {
    shape_ = HelpDataShape::of(document_.Root().node());
    for (ShapeDeparture& departure : shape_.departures)
        addProblem(departure.offset, std::move(departure.what), departure.losesText);
}

void HelpDataFile::addReplacedBytesProblem(const std::vector<size_t>& offsets) {
    const std::string where = linesHolding(offsets);
    problems_.push_back({0, "it is UTF-8, but " + where + " " + std::to_string(offsets.size()) +
                                (offsets.size() == 1 ? " byte that is" : " bytes that are") +
                                " not; each was read as a Windows-1252 character"});
}

void HelpDataFile::dropNulBytes(size_t first) {
    std::vector<size_t> offsets;
    for (size_t at = first; at != std::string::npos; at = text_.find('\0', at + 1))
        offsets.push_back(at);
    problems_.push_back({0, linesHolding(offsets) + " " + std::to_string(offsets.size()) +
                                (offsets.size() == 1 ? " NUL byte, which cannot be stored: it is left out and the "
                                                       "text around it is read"
                                                     : " NUL bytes, which cannot be stored: they are left out and "
                                                       "the text around them is read")});
    std::erase(text_, '\0');
}

std::string HelpDataFile::linesHolding(const std::vector<size_t>& offsets) const {
    std::vector<int> lines;
    LineCounter counter(text_);
    for (size_t offset : offsets) {
        const int line = counter.lineAt(static_cast<std::ptrdiff_t>(offset));
        if (lines.empty() || lines.back() != line)
            lines.push_back(line);
    }
    constexpr size_t named = 10; // lines named at most
    std::string where = lines.size() == 1 ? "line " : "lines ";
    for (size_t i = 0; i < lines.size() && i < named; ++i)
        where += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    if (lines.size() > named)
        where += " and " + std::to_string(lines.size() - named) + " more";
    return where + (lines.size() == 1 ? " holds" : " hold");
}

bool HelpDataFile::isNew() const {
    if (released_)
        return releasedNew_;
    if (plainRead_)
        return plain_.isNew();
    XMLElements children = document_.Root().Elements();
    return children.begin() == children.end();
}

std::optional<std::string> HelpDataFile::rootAttribute(const char* name) const {
    if (plainRead_)
        return plain_.rootAttribute(name);
    XMLAttributes attributes = document_.Root().Attributes();
    if (!Utilities::ItemExists(attributes, name))
        return std::nullopt;
    return attributes.Item(name).Value();
}

void HelpDataFile::readSettings() {
    auto readFlag = [&](const char* name, bool& flag) {
        if (std::optional<std::string> value = rootAttribute(name))
            flag = *value == "True";
    };
    readFlag("GenerateHTML", settings_.mGenerateHTML);
    readFlag("GenerateWinHelp", settings_.mGenerateWinHelp);
    readFlag("CompileHTML", settings_.mCompileHTML);
    readFlag("CompileWinHelp", settings_.mCompileWinHelp);
    if (std::optional<std::string> value = rootAttribute("PrimaryLanguage"))
        settings_.mPrimaryLanguage = *value;
    if (std::optional<std::string> value = rootAttribute("CurrentLanguage"))
        settings_.mCurrentLanguage = *value;
    const std::optional<std::string> codePage = rootAttribute("CodePage");
    settings_.codePage = codePageSetting(codePage);
    if (codePage && !settings_.codePage) {
        // Named, so that the file is kept before the save, which writes no code page.
        parseKeptBytes(); // the problem names the root's line
        addProblem(document_.Root().node().offset_debug(),
                   "the root's \"CodePage\" \"" + *codePage +
                       "\" is not a code page (a number from 1 to 65535): the project's files are read in "
                       "the code page found for them, and the save writes none");
    }
    if (settings_.mCurrentLanguage.empty())
        settings_.mCurrentLanguage = Neutral;
}

void HelpDataFile::readSelectedLanguages() {
    NameList& languages = *settings_.SelectedLanguages;
    if (plainRead_) {
        for (const std::string& language : plain_.selectedLanguages())
            if (!languages.Contains(language))
                languages.Add(language, language);
        return;
    }
    for (pugi::xml_node child : shape_.languages) {
        pugi::xml_attribute name = child.attribute("Name");
        if (!name) {
            addProblem(child.offset_debug(), "a \"SelectedLanguage\" element without \"Name\" is skipped");
            continue;
        }
        std::string language = name.value();
        if (!languages.Contains(language))
            languages.Add(language, language);
    }
}

void HelpDataFile::load(const fs::path& path, ModuleRecords& forms, NameList& formNames) {
    read(path);
    if (isNew()) {
        if (!settings_.SelectedLanguages->Contains(Neutral))
            settings_.SelectedLanguages->Add(Neutral, Neutral);
        settings_.mCurrentLanguage = Neutral;
        settings_.mPrimaryLanguage = Neutral;
        takeSettingsAsStored();
        return;
    }
    readSettings();
    readSelectedLanguages();
    readRecords(forms, formNames);
    if (settings_.mPrimaryLanguage.empty())
        settings_.mPrimaryLanguage = settings_.mCurrentLanguage;
    takeSettingsAsStored();
}

void HelpDataFile::takeSettingsAsStored() {
    storedSettings_ = StoredSettings::of(settings_);
}

bool HelpDataFile::changedOnDisk() const {
    return !path_.empty() && !version_.isCurrent(path_);
}

ReloadOutcome HelpDataFile::reload(ModuleRecords& forms, NameList& formNames) {
    ReloadOutcome outcome;
    mergeVersionOf(path_, forms, formNames, [&](HelpDataFile& theirs, const HelpDataMerge& merge) {
        if (!theirs.complete()) // merged when saving, after its bytes are kept
            throw VbError(vberr::PathFileAccess, theirs.problemReport(), path_.string());
        outcome = {merge.takenTexts(), merge.conflicts(), merge.takenPlaces()};
        return MergeResolution::KeepOurs;
    });
    return outcome;
}

void HelpDataFile::mergeVersionOf(const fs::path& file, ModuleRecords& forms, NameList& formNames,
                                  const MergeDecision& decide) {
    HelpDataSettings theirSettings;
    theirSettings.newSelectedLanguages();
    HelpDataFile theirs(theirSettings);
    theirs.setAnsiCodePage(ansiCodePage_);
    ModuleRecords theirForms; // the merge refers to them until it is applied
    NameList theirNames;
    theirs.load(file, theirForms, theirNames);
    HelpDataMerge merge(settings_, storedSettings_, forms, formNames);
    merge.compare(theirSettings, theirForms, theirNames);
    storedSettings_ = merge.apply(decide(theirs, merge));
    version_ = std::move(theirs.version_);
}

bool HelpDataFile::losesText() const noexcept {
    return std::ranges::any_of(problems_, [](const HelpDataProblem& problem) { return problem.losesText; });
}

void HelpDataFile::addProblem(std::ptrdiff_t offset, std::string what, bool losesText) {
    if (text_.empty() && existed_) { // parsed in place: the lines are counted in the file's text
        try {
            text_ = decodeOwnedXmlBytes(readFileBytes(version_, path_));
        } catch (const VbError&) {
            // the problem is still told, without its line
        }
    }
    if (!lineCounter_.counts(text_))
        lineCounter_ = LineCounter(text_);
    problems_.push_back({lineCounter_.lineAt(offset), std::move(what), losesText});
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
        // A file can hold a problem in every record: the first are named, the rest counted.
        constexpr size_t listed = 25;
        for (size_t i = 0; i < problems_.size() && i < listed; ++i)
            text += "\n" +
                    (problems_[i].line > 0 ? "line " + std::to_string(problems_[i].line) + ": " : std::string()) +
                    problems_[i].what + ".";
        if (problems_.size() > listed)
            text += "\nand " + std::to_string(problems_.size() - listed) + " more problems" +
                    (problems_.back().line > 0 ? ", the last on line " + std::to_string(problems_.back().line) : "") +
                    ".";
    }
    if (unreadable_)
        return text + "\nCorvane goes on without its help text; the file is not replaced while it "
                      "cannot be read.";
    return text + "\nBefore the help data is saved, the file's bytes are kept as '" +
           backupPath().string() + "'.  Corvane goes on without the help text it could not load.";
}

} // namespace corvane
