#include "exchange/PoWriter.h"

#include "exchange/PoString.h"
#include "files/OutputFile.h"
#include "platform/Machine.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <ostream>

namespace corvane::exchange {

namespace {

void writeKeyword(std::ostream& out, const char* keyword, const std::string& text) {
    auto pieces = quotedPoPieces(text);
    out << keyword << " " << (pieces.empty() ? "\"\"" : pieces.front()) << "\n";
    for (size_t i = 1; i < pieces.size(); ++i)
        out << pieces[i] << "\n";
}

void writeHeader(std::ostream& out, const ExchangeDocument& document,
                 const std::string& revisionDate) {
    out << "# Help text of " << document.project << ", from " << document.sourceLanguage << " into "
        << document.targetLanguage << ".\n"
        << "# Translate the msgstr texts; bring them back with: corvane import " << document.project
        << " FILE\n";
    out << "msgid \"\"\nmsgstr \"\"\n";
    auto field = [&](const char* name, const std::string& value) {
        out << "\"" << name << ": " << escapedPoText(value) << "\\n\"\n";
    };
    field("Project-Id-Version", document.project);
    field("PO-Revision-Date", revisionDate);
    field("Last-Translator", "");
    field("Language-Team", "");
    std::string language = document.targetTag; // gettext writes de_DE where XML writes de-DE
    std::replace(language.begin(), language.end(), '-', '_');
    field("Language", language);
    field("MIME-Version", "1.0");
    field("Content-Type", "text/plain; charset=UTF-8");
    field("Content-Transfer-Encoding", "8bit");
    field("X-Corvane-Project", document.project);
    field("X-Corvane-Source-Language", document.sourceLanguage);
    field("X-Corvane-Language", document.targetLanguage);
}

// A comment stays on one line: its line breaks are written as escapes, quotes stay as they are.
std::string commentText(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

void writeEntry(std::ostream& out, const ExchangeUnit& unit) {
    out << "\n#. " << commentText(controlNote(unit)) << "\n";
    if (!unit.target.empty() && lineFeedsDiffer(unit.source, unit.target))
        out << "#, fuzzy\n";
    writeKeyword(out, "msgctxt", unit.id);
    writeKeyword(out, "msgid", unit.source);
    writeKeyword(out, "msgstr", unit.target);
}

} // namespace

std::string currentPoRevisionDate() {
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    const std::tm utc = platform::utcParts(now);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M+0000", &utc);
    return text;
}

bool lineFeedsDiffer(const std::string& source, const std::string& target) {
    auto begins = [](const std::string& s) { return !s.empty() && s.front() == '\n'; };
    auto ends = [](const std::string& s) { return !s.empty() && s.back() == '\n'; };
    return begins(source) != begins(target) || ends(source) != ends(target);
}

void writePo(std::ostream& out, const ExchangeDocument& header, const UnitSource& units,
             const std::string& revisionDate) {
    writeHeader(out, header, revisionDate);
    units([&](const ExchangeUnit& unit) { writeEntry(out, unit); });
}

void writePo(std::ostream& out, const ExchangeDocument& document, const std::string& revisionDate) {
    writePo(out, document, unitsOf(document), revisionDate);
}

void writePoFile(const std::filesystem::path& path, const ExchangeDocument& header, const UnitSource& units) {
    const std::string revisionDate = currentPoRevisionDate();
    writeOutputFile(path, [&](std::ostream& out) { writePo(out, header, units, revisionDate); });
}

void writePoFile(const std::filesystem::path& path, const ExchangeDocument& document) {
    writePoFile(path, document, unitsOf(document));
}

} // namespace corvane::exchange
