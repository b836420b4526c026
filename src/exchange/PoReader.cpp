#include "exchange/PoReader.h"

#include "exchange/PoString.h"
#include "support/AtomicFile.h"

#include <algorithm>
#include <istream>
#include <map>
#include <sstream>

namespace corvane::exchange {

namespace {

// One entry as the file holds it.
struct PoEntry {
    int line = 0;
    bool hasContext = false;
    bool hasId = false;
    bool hasStr = false;
    bool fuzzy = false;
    bool plural = false;
    std::string context, id, str;
};

class PoParser {
public:
    explicit PoParser(std::string sourceName) : sourceName_(std::move(sourceName)) {}

    std::vector<PoEntry> parse(std::istream& in) {
        std::string line;
        while (std::getline(in, line)) {
            ++lineNumber_;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (lineNumber_ == 1 && line.starts_with("\xEF\xBB\xBF"))
                line.erase(0, 3); // a byte-order mark some editors write
            readLine(line);
        }
        finishEntry();
        return std::move(entries_);
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw ExchangeFormatError(sourceName_ + ": line " + std::to_string(lineNumber_) + ": " +
                                  what);
    }

    void readLine(std::string_view line) {
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos) {
            finishEntry();
            return;
        }
        line.remove_prefix(first);
        if (line.front() == '#' && (entry_.hasId || entry_.hasContext || entry_.hasStr))
            finishEntry(); // comments begin the next entry, also without a blank line
        if (line.starts_with("#~"))
            return; // an obsolete entry: no longer part of the translation
        if (line.starts_with("#,")) {
            startIfNeeded();
            entry_.fuzzy = entry_.fuzzy || line.find("fuzzy") != std::string_view::npos;
            return;
        }
        if (line.front() == '#')
            return;
        if (line.front() == '"') {
            if (!continued_)
                fail("a quoted string belongs to no keyword");
            *continued_ += quoted(line);
            return;
        }
        readKeyword(line);
    }

    void readKeyword(std::string_view line) {
        size_t end = line.find_first_of(" \t");
        std::string_view keyword = line.substr(0, end);
        std::string_view rest =
            end == std::string_view::npos ? std::string_view() : line.substr(end);
        // A new entry begins without a blank line before it; flags above it stay with it.
        if ((keyword == "msgctxt" && (entry_.hasId || entry_.hasStr)) ||
            (keyword == "msgid" && entry_.hasId))
            finishEntry();
        startIfNeeded();
        if (keyword == "msgctxt") {
            entry_.hasContext = true;
            continued_ = &entry_.context;
        } else if (keyword == "msgid") {
            entry_.hasId = true;
            continued_ = &entry_.id;
        } else if (keyword == "msgid_plural") {
            entry_.plural = true;
            continued_ = &ignored_;
        } else if (keyword == "msgstr" || keyword == "msgstr[0]") {
            entry_.hasStr = true;
            continued_ = &entry_.str;
        } else if (keyword.starts_with("msgstr[")) {
            continued_ = &ignored_;
        } else {
            fail("unexpected text '" + std::string(line.substr(0, 40)) + "'");
        }
        *continued_ = quoted(rest);
    }

    std::string quoted(std::string_view piece) {
        piece.remove_prefix(std::min(piece.size(), piece.find_first_not_of(" \t")));
        auto text = unquotePo(piece);
        if (!text)
            fail("not a well-formed quoted string: " + std::string(piece.substr(0, 60)));
        return *text;
    }

    void startIfNeeded() {
        if (started_)
            return;
        started_ = true;
        entry_ = PoEntry{};
        entry_.line = lineNumber_;
    }

    void finishEntry() {
        continued_ = nullptr;
        if (!started_)
            return;
        started_ = false;
        if (!entry_.hasId && !entry_.hasContext && !entry_.hasStr)
            return; // only comments
        if (!entry_.hasId || !entry_.hasStr)
            throw ExchangeFormatError(sourceName_ + ": line " + std::to_string(entry_.line) +
                                      ": an entry without " + (entry_.hasId ? "msgstr" : "msgid"));
        entries_.push_back(std::move(entry_));
        entry_ = PoEntry{};
    }

    std::string sourceName_;
    int lineNumber_ = 0;
    bool started_ = false;
    PoEntry entry_;
    std::string* continued_ = nullptr;
    std::string ignored_;
    std::vector<PoEntry> entries_;
};

// The header's fields ("Name: value" lines).
std::map<std::string, std::string> headerFields(const std::string& header) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(header);
    std::string line;
    while (std::getline(lines, line)) {
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        size_t value = line.find_first_not_of(' ', colon + 1);
        fields[line.substr(0, colon)] = value == std::string::npos ? "" : line.substr(value);
    }
    return fields;
}

ExchangeUnit unitOf(const PoEntry& entry) {
    ExchangeUnit unit;
    unit.id = entry.context;
    size_t slash = unit.id.find('/');
    if (slash != std::string::npos) {
        unit.module = unit.id.substr(0, slash);
        unit.controlKey = unit.id.substr(slash + 1);
    }
    unit.source = entry.id;
    unit.target = entry.str;
    unit.needsReview = entry.fuzzy;
    if (!entry.hasContext)
        unit.problem = "the entry at line " + std::to_string(entry.line) +
                       " has no msgctxt, so it names no control";
    else if (entry.plural)
        unit.problem = "it has plural forms, which help text does not have";
    return unit;
}

} // namespace

ExchangeDocument readPo(std::istream& in, const std::string& sourceName) {
    std::vector<PoEntry> entries = PoParser(sourceName).parse(in);
    ExchangeDocument document;
    bool headerSeen = false;
    for (const PoEntry& entry : entries) {
        if (!entry.hasContext && entry.id.empty()) {
            auto fields = headerFields(entry.str);
            document.project = fields["X-Corvane-Project"];
            document.sourceLanguage = fields["X-Corvane-Source-Language"];
            document.targetLanguage = fields["X-Corvane-Language"];
            document.targetTag = fields["Language"];
            std::string type = fields["Content-Type"];
            if (!type.empty() && type.find("charset=UTF-8") == std::string::npos &&
                type.find("charset=utf-8") == std::string::npos)
                throw ExchangeFormatError(sourceName + ": the file is not in UTF-8 (" + type +
                                          "); save it as UTF-8 and import it again");
            headerSeen = true;
            continue;
        }
        document.units.push_back(unitOf(entry));
    }
    if (!headerSeen || document.targetLanguage.empty())
        throw ExchangeFormatError(
            sourceName + ": the header does not name the project's language "
                         "(field X-Corvane-Language); the file was not written by corvane export");
    return document;
}

ExchangeDocument readPoFile(const std::filesystem::path& path) {
    std::istringstream in(readFileBytes(path));
    return readPo(in, path.string());
}

} // namespace corvane::exchange
