#include "helpdata/HelpDataWriter.h"

#include "support/ByteScan.h"
#include "support/XmlChecks.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace corvane {

namespace {

const std::string Neutral = "Neutral";

// The bytes XMLDocument writes as references: in texts every control character but tab, CR
// and LF, & < >; in attribute values every control character, & < ".
struct SpecialBytes {
    bool text[256] = {};
    bool attribute[256] = {};
    SpecialBytes() {
        for (int c = 0; c < 32; ++c)
            text[c] = attribute[c] = c != '\t' && c != '\r' && c != '\n';
        attribute[int{'\t'}] = attribute[int{'\r'}] = attribute[int{'\n'}] = true;
        for (unsigned char c : std::string_view("&<"))
            text[c] = attribute[c] = true;
        text[int{'>'}] = true;
        attribute[int{'"'}] = true;
    }
};

const SpecialBytes BytesToEscape;

// Non-zero when a word of eight bytes may hold a byte of either table: a control character,
// & < > or ". Most words of a data file hold none and are copied without a look at each byte.
uint64_t mayHoldSpecial(uint64_t word) {
    using namespace bytescan;
    return hasByteBelow(word, 0x20) | hasByte(word, '&') | hasByte(word, '<') | hasByte(word, '>') |
           hasByte(word, '"');
}

// The length of the start of `value` that holds no byte of `table`.
size_t plainLength(std::string_view value, const bool (&table)[256]) {
    size_t i = 0;
    for (;;) {
        while (i + 8 <= value.size() && !mayHoldSpecial(bytescan::loadWord(value.data() + i)))
            i += 8;
        // A word that may hold one, or the last bytes: one by one, up to eight of them.
        const size_t stop = std::min(value.size(), i + 8);
        for (; i < stop; ++i)
            if (table[static_cast<unsigned char>(value[i])])
                return i;
        if (i == value.size())
            return i;
    }
}

const char* boolText(bool value) {
    return value ? "True" : "False";
}

} // namespace

void HelpDataWriter::write(const ModuleRecords& forms, const NameList& formNames) {
    out_.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    writeRoot();
    NameList& languages = *settings_.SelectedLanguages;
    if (languages.empty() && forms.Count() == 0) {
        out_.append(" />\n");
        return;
    }
    out_.append(">\n");
    for (const std::string& language : languages) {
        out_.append("  <SelectedLanguage");
        attribute("Name", language);
        out_.append(" />\n");
    }
    for (int32_t x = 1; x <= forms.Count(); ++x) {
        const HelpItems& records = *forms.Item(x);
        out_.append("  <VBComponent");
        attribute("ComponentName", formNames.Item(x));
        if (records.Count() == 0) {
            out_.append(" />\n");
            continue;
        }
        out_.append(">\n");
        for (const auto& record : records)
            writeRecord(*record);
        out_.append("  </VBComponent>\n");
    }
    out_.append("</Root>\n");
}

void HelpDataWriter::writeRoot() {
    out_.append("<Root");
    attribute("CurrentLanguage", settings_.mCurrentLanguage);
    attribute("PrimaryLanguage", settings_.mPrimaryLanguage);
    attribute("GenerateHTML", boolText(settings_.mGenerateHTML));
    attribute("CompileHTML", boolText(settings_.mCompileHTML));
    attribute("GenerateWinHelp", boolText(settings_.mGenerateWinHelp));
    attribute("CompileWinHelp", boolText(settings_.mCompileWinHelp));
}

void HelpDataWriter::writeRecord(const HelpItem& record) {
    out_.append("    <HelpItem");
    attribute("ComponentName", record.ComponentName);
    attribute("ControlName", record.ControlName);
    attribute("ContextHelpID", std::to_string(record.ContextHelpID));
    attribute("ControlType", record.ControlType);
    attribute("Caption", record.Caption);
    NameList& languages = *settings_.SelectedLanguages;
    if (languages.empty())
        languages.Add(Neutral, Neutral);
    bool any = false;
    for (const std::string& language : languages) {
        int32_t position = record.HelpTexts.PositionOf(language);
        if (position == 0)
            continue;
        out_.append(any ? "      <HelpText" : ">\n      <HelpText");
        any = true;
        attribute("Language", language);
        const std::string& value = record.HelpTexts.Item(position);
        if (value.empty()) {
            out_.append(" />\n");
            continue;
        }
        out_.append('>');
        text(value);
        out_.append("</HelpText>\n");
    }
    out_.append(any ? "    </HelpItem>\n" : " />\n");
}

void HelpDataWriter::attribute(std::string_view name, std::string_view value) {
    out_.append(' ');
    out_.append(name);
    out_.append("=\"");
    escaped(value, BytesToEscape.attribute);
    out_.append('"');
}

void HelpDataWriter::text(std::string_view value) {
    escaped(value, BytesToEscape.text);
}

void HelpDataWriter::escaped(std::string_view value, const bool (&table)[256]) {
    std::string cleaned;
    if (!isCleanXmlText(value)) { // as the document stores it
        cleaned = cleanXmlText(value);
        value = cleaned;
    }
    for (;;) {
        const size_t run = plainLength(value, table);
        out_.append(value.substr(0, run));
        if (run == value.size())
            return;
        const auto c = static_cast<unsigned char>(value[run]);
        value.remove_prefix(run + 1);
        switch (c) {
        case '&':
            out_.append("&amp;");
            break;
        case '<':
            out_.append("&lt;");
            break;
        case '>':
            out_.append("&gt;");
            break;
        case '"':
            out_.append("&quot;");
            break;
        default: {
            const char reference[] = {'&', '#', static_cast<char>('0' + c / 10),
                                      static_cast<char>('0' + c % 10), ';'};
            out_.append(std::string_view(reference, sizeof reference));
        }
        }
    }
}

} // namespace corvane
