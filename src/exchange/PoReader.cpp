#include "exchange/PoReader.h"

#include "exchange/PoString.h"
#include "files/FileInputStream.h"
#include "text/TextCodec.h"

#include <algorithm>
#include <cstdio>
#include <functional>
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

// Reads entries line by line and hands each on as it ends.
class PoParser {
public:
    using EntryTaker = std::function<void(PoEntry&& entry)>;

    PoParser(std::string sourceName, EntryTaker take) : sourceName_(std::move(sourceName)), take_(std::move(take)) {}

    void parse(std::istream& in) {
        std::string line;
        while (std::getline(in, line)) {
            ++lineNumber_;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (lineNumber_ == 1 && line.starts_with("\xEF\xBB\xBF"))
                line.erase(0, 3); // a byte-order mark some editors write
            checkUtf8(line);
            readLine(line);
        }
        finishEntry();
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw ExchangeFormatError(sourceName_ + ": line " + std::to_string(lineNumber_) + ": " +
                                  what);
    }

    // A PO file of corvane is UTF-8: any other byte would turn into a wrong character.
    void checkUtf8(std::string_view line) const {
        for (size_t at = 0; at < line.size();) {
            size_t length = utf8SequenceLength(line, at);
            if (length == 0) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(line[at]));
                fail("the byte " + std::string(hex) + " (column " + std::to_string(at + 1) +
                     ") is not UTF-8; save the file as UTF-8 and import it again");
            }
            at += length;
        }
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
        take_(std::move(entry_));
        entry_ = PoEntry{};
    }

    std::string sourceName_;
    int lineNumber_ = 0;
    bool started_ = false;
    PoEntry entry_;
    std::string* continued_ = nullptr;
    std::string ignored_;
    EntryTaker take_;
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

// The document's header from the header entry; refuses a file in another character set and
// one that names no language.
ExchangeDocument headerOf(const PoEntry& entry, const std::string& sourceName) {
    auto fields = headerFields(entry.str);
    ExchangeDocument header;
    header.project = fields["X-Corvane-Project"];
    header.sourceLanguage = fields["X-Corvane-Source-Language"];
    header.targetLanguage = fields["X-Corvane-Language"];
    header.targetTag = fields["Language"];
    std::string type = fields["Content-Type"];
    if (!type.empty() && type.find("charset=UTF-8") == std::string::npos &&
        type.find("charset=utf-8") == std::string::npos)
        throw ExchangeFormatError(sourceName + ": the file is not in UTF-8 (" + type +
                                  "); save it as UTF-8 and import it again");
    if (header.targetLanguage.empty())
        throw ExchangeFormatError(
            sourceName + ": the header does not name the project's language "
                         "(field X-Corvane-Language); the file was not written by corvane export");
    return header;
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

void readPo(std::istream& in, const std::string& sourceName, ExchangeSink& sink) {
    ExchangeDocument header;
    bool headerSeen = false;
    std::vector<ExchangeUnit> early; // units before the header (a tool that moved it)
    PoParser(sourceName, [&](PoEntry&& entry) {
        if (!entry.hasContext && entry.id.empty() && !headerSeen) {
            header = headerOf(entry, sourceName);
            headerSeen = true;
            sink.header(header);
            for (ExchangeUnit& unit : early)
                sink.unit(std::move(unit));
            early.clear();
        } else if (headerSeen) {
            sink.unit(unitOf(entry));
        } else {
            early.push_back(unitOf(entry));
        }
    }).parse(in);
    if (!headerSeen)
        throw ExchangeFormatError(
            sourceName + ": the header does not name the project's language "
                         "(field X-Corvane-Language); the file was not written by corvane export");
}

ExchangeDocument readPo(std::istream& in, const std::string& sourceName) {
    DocumentCollector collector;
    readPo(in, sourceName, collector);
    return std::move(collector.document);
}

ExchangeDocument readPoFile(const std::filesystem::path& path) {
    FileInputStream in(path);
    return readPo(in, path.string());
}

} // namespace corvane::exchange
