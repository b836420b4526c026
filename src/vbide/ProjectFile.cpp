#include "vbide/ProjectFile.h"

#include "text/TextCodec.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>

namespace corvane::vbide {

namespace {

struct ComponentKey {
    const char* key;
    int type;
};

constexpr ComponentKey ComponentKeys[] = {
    {"Form", 5},         {"Module", 1},       {"Class", 2},     {"UserControl", 8},
    {"PropertyPage", 7}, {"UserDocument", 9}, {"Designer", 11}, {"RelatedDoc", 10},
    {"ResFile32", 4}};

int componentType(std::string_view key) {
    for (const auto& entry : ComponentKeys)
        if (equalsIgnoreCase(key, entry.key))
            return entry.type;
    return 0;
}

bool isSectionLine(std::string_view text) {
    std::string_view trimmed = trimBlanks(text);
    return !trimmed.empty() && trimmed[0] == '[';
}

} // namespace

ProjectFile::ProjectFile(std::string_view bytes, int codePage, std::string sourceName)
    : sourceName_(std::move(sourceName)), codePage_(codePage), read_(bytes), lines_(splitLines(bytes)) {
    parse();
}

void ProjectFile::fault(size_t index, const std::string& what) const {
    throw VbError(InvalidFileFormat,
                  "The project file '" + sourceName_ + "' cannot be read, line " +
                      std::to_string(index + 1) + ": " + what,
                  sourceName_);
}

size_t ProjectFile::mainSectionEnd() const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (isSectionLine(lines_[i].text))
            return i;
    return lines_.size();
}

void ProjectFile::parse() {
    entries_.clear();
    name_.clear();
    helpFile_.clear();
    haveName_ = haveHelpFile_ = false;
    size_t end = mainSectionEnd();
    if (end == 0 && !lines_.empty())
        fault(0, "the file does not begin with project settings");
    for (size_t i = 0; i < end; ++i)
        parseLine(i);
}

std::string ProjectFile::decodeValue(size_t index, std::string_view raw) const {
    try {
        return decodeCodePage(raw, codePage_);
    } catch (const VbError&) {
        fault(index, "bytes that the code page " + std::to_string(codePage_) + " does not define");
    }
}

void ProjectFile::parseLine(size_t index) {
    const std::string& text = lines_[index].text;
    if (trimBlanks(text).empty())
        return;
    if (text.find('\0') != std::string::npos)
        fault(index, "binary data in a text file");
    size_t equals = text.find('=');
    if (equals == std::string::npos)
        fault(index, "expected 'Key=Value'");
    std::string key(trimBlanks(std::string_view(text).substr(0, equals)));
    std::string_view raw = trimBlanks(std::string_view(text).substr(equals + 1));
    int type = componentType(key);
    bool quotedSetting = equalsIgnoreCase(key, "Name") || equalsIgnoreCase(key, "HelpFile");
    if (type == 0 && !quotedSetting)
        return;
    std::string value = decodeValue(index, raw);
    if (!value.empty() && value.front() == '"') {
        if (value.size() < 2 || value.back() != '"')
            fault(index, "a quoted value has no closing quote");
        value = value.substr(1, value.size() - 2);
    }
    // A repeated setting counts once, at its first line: the line that writes change.
    if (equalsIgnoreCase(key, "Name")) {
        if (!haveName_)
            name_ = value;
        haveName_ = true;
        return;
    }
    if (equalsIgnoreCase(key, "HelpFile")) {
        if (!haveHelpFile_)
            helpFile_ = value;
        haveHelpFile_ = true;
        return;
    }
    ProjectEntry entry{index, type, key, "", value};
    if (type == 1 || type == 2) {
        size_t semicolon = value.find(';');
        if (semicolon == std::string::npos)
            fault(index, "expected '" + key + "=Name; path'");
        entry.name = std::string(trimBlanks(std::string_view(value).substr(0, semicolon)));
        entry.path = std::string(trimBlanks(std::string_view(value).substr(semicolon + 1)));
    }
    if (entry.path.empty() || (type != 1 && type != 2 && entry.path.empty()))
        fault(index, "a component line without a path");
    entries_.push_back(std::move(entry));
}

size_t ProjectFile::findKey(std::string_view key) const {
    size_t end = mainSectionEnd();
    for (size_t i = 0; i < end; ++i) {
        const std::string& text = lines_[i].text;
        size_t equals = text.find('=');
        if (equals != std::string::npos && equalsIgnoreCase(trimBlanks(std::string_view(text).substr(0, equals)), key))
            return i;
    }
    return lines_.size();
}

void ProjectFile::insertLine(size_t before, const std::string& utf8Text) {
    insertEncodedLine(before, encodeCodePage(utf8Text, codePage_));
}

void ProjectFile::insertEncodedLine(size_t before, std::string text) {
    std::string ending = usualLineEnding(lines_);
    TextLine line{std::move(text), ending};
    if (before > 0 && lines_[before - 1].ending.empty()) {
        lines_[before - 1].ending = ending; // the new line becomes the last one
        line.ending.clear();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(before), std::move(line));
}

// Where a new HelpFile line goes: after "Startup", else before "Title", else at the end of the
// main section's settings.
size_t ProjectFile::helpFileLineAt() const {
    size_t at = findKey("Startup");
    if (at < lines_.size())
        return at + 1;
    if ((at = findKey("Title")) < lines_.size())
        return at;
    at = mainSectionEnd();
    while (at > 0 && trimBlanks(lines_[at - 1].text).empty())
        --at;
    return at;
}

// Where a new RelatedDoc line goes: after the component lines, else after the references.
size_t ProjectFile::relatedDocumentLineAt() const {
    size_t at = 0;
    for (const auto& entry : entries_)
        if (entry.type != 4)
            at = entry.line + 1;
    if (at == 0) {
        size_t end = mainSectionEnd();
        for (size_t i = 0; i < end; ++i) {
            std::string_view trimmed = trimBlanks(lines_[i].text);
            if (startsWithWord(trimmed.substr(0, trimmed.find('=')), "Reference") ||
                startsWithWord(trimmed.substr(0, trimmed.find('=')), "Object") || i == 0)
                at = i + 1;
        }
    }
    return at;
}

bool ProjectFile::holdsLine(std::string_view text) const {
    const size_t end = mainSectionEnd();
    for (size_t i = 0; i < end; ++i)
        if (equalsIgnoreCase(trimBlanks(lines_[i].text), trimBlanks(text)))
            return true;
    return false;
}

void ProjectFile::setHelpFile(const std::string& helpFile) {
    std::string text = encodeCodePage("HelpFile=\"" + helpFile + "\"", codePage_); // raises before anything changes
    size_t existing = findKey("HelpFile");
    std::optional<std::string> before;
    if (existing < lines_.size()) {
        before = lines_[existing].text;
        lines_[existing].text = text;
    } else {
        insertEncodedLine(helpFileLineAt(), text);
    }
    auto earlier = std::find_if(changes_.begin(), changes_.end(), [](const LineChange& change) { return change.key == "HelpFile"; });
    if (earlier == changes_.end())
        changes_.push_back({"HelpFile", std::move(before), std::move(text)});
    else
        earlier->after = std::move(text);
    dirty_ = true;
    parse();
}

const ProjectEntry& ProjectFile::addRelatedDocument(const std::string& vbPath) {
    std::string text = encodeCodePage("RelatedDoc=" + vbPath, codePage_);
    size_t at = relatedDocumentLineAt();
    insertEncodedLine(at, text);
    changes_.push_back({"RelatedDoc", std::nullopt, std::move(text)});
    dirty_ = true;
    parse();
    for (const auto& entry : entries_)
        if (entry.line == at)
            return entry;
    fault(at, "the added line cannot be read back");
}

std::string ProjectFile::renderOnto(std::string_view current) const {
    if (current == read_)
        return render();
    std::optional<ProjectFile> theirs;
    try {
        theirs.emplace(current, codePage_, sourceName_);
    } catch (const VbError& error) {
        throw VbError(vberr::PathFileAccess,
                      "Cannot save '" + sourceName_ + "': another program changed it since it was read, and it " +
                          "cannot be read now (" + error.description() + "); nothing was written to it",
                      sourceName_);
    }
    for (const LineChange& change : changes_) {
        if (change.key == "RelatedDoc") {
            if (!theirs->holdsLine(change.after))
                theirs->insertEncodedLine(theirs->relatedDocumentLineAt(), change.after);
        } else {
            const size_t at = theirs->findKey(change.key);
            const std::optional<std::string> now =
                at < theirs->lines_.size() ? std::optional<std::string>(theirs->lines_[at].text) : std::nullopt;
            if (now == change.after)
                continue;
            if (now != change.before)
                throw VbError(vberr::PathFileAccess,
                              "Cannot save '" + sourceName_ + "': another program changed its line '" +
                                  decodeCodePage(change.before.value_or(change.key + " (none)"), codePage_) +
                                  "' since it was read, to '" +
                                  decodeCodePage(now.value_or(change.key + " (none)"), codePage_) +
                                  "'; Corvane writes '" + decodeCodePage(change.after, codePage_) +
                                  "'. Nothing was written to it.",
                              sourceName_);
            if (at < theirs->lines_.size())
                theirs->lines_[at].text = change.after;
            else
                theirs->insertEncodedLine(theirs->helpFileLineAt(), change.after);
        }
        theirs->parse();
    }
    return theirs->render();
}

void ProjectFile::markSaved(std::string_view written) {
    read_ = std::string(written);
    lines_ = splitLines(written);
    changes_.clear();
    dirty_ = false;
    parse();
}

void ProjectFile::takeChangesOf(const ProjectFile& earlier) {
    read_ = earlier.read_;
    changes_ = earlier.changes_;
    dirty_ = earlier.dirty_;
}

} // namespace corvane::vbide
