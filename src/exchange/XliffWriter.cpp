#include "exchange/XliffWriter.h"

#include "exchange/XmlText.h"
#include "files/OutputFile.h"

#include <ostream>

namespace corvane::exchange {

namespace {

std::string attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + escapeXmlAttribute(value) + "\"";
}

void writeContext(std::ostream& out, const char* type, const std::string& value) {
    out << "          <context context-type=\"" << type << "\">" << escapeXmlText(value)
        << "</context>\n";
}

void writeUnit(std::ostream& out, const ExchangeUnit& unit) {
    // A text the project holds is approved: tools show it as done, not as one to review.
    out << "      <trans-unit" << attribute("id", unit.id) << attribute("resname", unit.controlKey)
        << (unit.target.empty() ? "" : " approved=\"yes\"") << " xml:space=\"preserve\">\n";
    out << "        <source>" << escapeXmlText(unit.source) << "</source>\n";
    out << "        <target state=\"" << (unit.target.empty() ? "needs-translation" : "translated")
        << "\">" << escapeXmlText(unit.target) << "</target>\n";
    out << "        <context-group name=\"control\" purpose=\"information\">\n";
    writeContext(out, "sourcefile", unit.module);
    writeContext(out, "x-control", unit.controlKey);
    writeContext(out, "x-control-type", unit.controlType);
    writeContext(out, "x-caption", unit.caption);
    out << "        </context-group>\n";
    out << "        <note from=\"corvane\">" << escapeXmlText(controlNote(unit)) << "</note>\n";
    out << "      </trans-unit>\n";
}

} // namespace

void writeXliff(std::ostream& out, const ExchangeDocument& document) { writeXliff(out, document, unitsOf(document)); }

void writeXliff(std::ostream& out, const ExchangeDocument& document, const UnitSource& units) {
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" xmlns:corvane=\""
        << CorvaneXliffNamespace << "\">\n";
    out << "  <file" << attribute("original", document.project) << " datatype=\"plaintext\""
        << attribute("source-language", document.sourceTag)
        << attribute("target-language", document.targetTag)
        << attribute("corvane:source-language", document.sourceLanguage)
        << attribute("corvane:target-language", document.targetLanguage) << ">\n";
    out << "    <header>\n      <tool tool-id=\"corvane\" tool-name=\"Corvane\"/>\n    </header>\n";
    out << "    <body>\n";
    units([&](const ExchangeUnit& unit) { writeUnit(out, unit); });
    out << "    </body>\n  </file>\n</xliff>\n";
}

void writeXliffFile(const std::filesystem::path& path, const ExchangeDocument& header, const UnitSource& units) {
    writeOutputFile(path, [&](std::ostream& out) { writeXliff(out, header, units); });
}

void writeXliffFile(const std::filesystem::path& path, const ExchangeDocument& document) {
    writeXliffFile(path, document, unitsOf(document));
}

} // namespace corvane::exchange
