#include "helpdata/HelpDataWriter.h"

#include "vbruntime/ByteScan.h"
#include "xml/XmlChecks.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cstdint>
#include <string>

namespace corvane {

namespace {

// The bytes XMLDocument writes as references: in texts a CR (which a reader would make a LF),
// & < >; in attribute values tab, CR, LF, & < ". Before a value is known to be clean
// (XmlChecks.h), the other control characters and every byte above ASCII also stop a plain
// run: there the rest of the value is checked and, when needed, cleaned as the document stores
// it, so that no control character XML does not allow is written.
struct SpecialBytes {
    EscapeTable text;
    EscapeTable attribute;
    SpecialBytes() {
        for (int c = 0; c < 32; ++c)
            text.clean[c] = attribute.clean[c] = c != '\t' && c != '\n';
        attribute.clean[int{'\t'}] = attribute.clean[int{'\n'}] = true;
        for (unsigned char c : std::string_view("&<"))
            text.clean[c] = attribute.clean[c] = true;
        text.clean[int{'>'}] = true;
        attribute.clean[int{'"'}] = true;
        for (EscapeTable* table : {&text, &attribute})
            for (int c = 0; c < 256; ++c)
                table->unchecked[c] = table->clean[c] || c == 0 || c >= 0x80;
    }
};

const SpecialBytes BytesToEscape;

// The length of the start of `value` that holds no byte of `stops`. Runs without any byte that
// may stop one (a control character, & < > ", a byte above ASCII) are passed at once; most of a
// data file is such runs. The table tells which of those bytes stop this one.
size_t plainLength(std::string_view value, const bool (&stops)[256]) {
    size_t i = 0;
    for (;;) {
        i += bytescan::runWithout<0x20, true, '&', '<', '>', '"'>(value.substr(i));
        if (i == value.size() || stops[static_cast<unsigned char>(value[i])])
            return i;
        ++i;
    }
}

const char* boolText(bool value) {
    return value ? "True" : "False";
}

} // namespace

void HelpDataWriter::write(const ModuleRecords& forms, const NameList& formNames) {
    if (!writeStart(forms))
        return;
    writeModules(forms, formNames, 1, forms.Count());
    writeEnd();
}

bool HelpDataWriter::writeStart(const ModuleRecords& forms) {
    out_.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    writeRoot();
    NameList& languages = *settings_.SelectedLanguages;
    if (languages.empty() && forms.Count() == 0) {
        out_.append(" />\n");
        return false;
    }
    out_.append(">\n");
    for (const std::string& language : languages) {
        out_.append("  <SelectedLanguage");
        attribute(" Name=\"", language);
        out_.append(" />\n");
    }
    return true;
}

void HelpDataWriter::writeModules(const ModuleRecords& forms, const NameList& formNames, int32_t first,
                                  int32_t last) {
    for (int32_t x = first; x <= last; ++x) {
        const HelpItems& records = *forms.Item(x);
        out_.append("  <VBComponent");
        attribute(" ComponentName=\"", formNames.Item(x));
        if (records.Count() == 0) {
            out_.append(" />\n");
            continue;
        }
        out_.append(">\n");
        forEachRecord(records, RecordParts::Texts,
                      [&](const std::shared_ptr<HelpItem>& record) { writeRecord(*record); });
        out_.append("  </VBComponent>\n");
    }
}

void HelpDataWriter::writeEnd() {
    out_.append("</Root>\n");
}

void HelpDataWriter::writeRoot() {
    out_.append("<Root");
    attribute(" CurrentLanguage=\"", settings_.mCurrentLanguage);
    attribute(" PrimaryLanguage=\"", settings_.mPrimaryLanguage);
    attribute(" GenerateHTML=\"", boolText(settings_.mGenerateHTML));
    attribute(" CompileHTML=\"", boolText(settings_.mCompileHTML));
    attribute(" GenerateWinHelp=\"", boolText(settings_.mGenerateWinHelp));
    attribute(" CompileWinHelp=\"", boolText(settings_.mCompileWinHelp));
    if (settings_.codePage)
        attribute(" CodePage=\"", std::to_string(*settings_.codePage));
}

void HelpDataWriter::writeRecord(const HelpItem& record) {
    out_.append("    <HelpItem");
    attribute(" ComponentName=\"", record.ComponentName);
    attribute(" ControlName=\"", record.ControlName);
    char number[16];
    // Digits and a sign only: nothing to escape.
    out_.append(" ContextHelpID=\"");
    out_.append(std::string_view(
        number, static_cast<size_t>(std::to_chars(number, number + sizeof number, record.ContextHelpID).ptr - number)));
    out_.append('"');
    attribute(" ControlType=\"", record.ControlType);
    attribute(" Caption=\"", record.Caption);
    NameList& languages = *settings_.SelectedLanguages;
    if (languages.empty())
        languages.Add(Neutral, Neutral);
    if (textOpenings_.size() != static_cast<size_t>(languages.Count()))
        prepareTextOpenings(languages);
    int32_t written = 0;
    for (int32_t index = 0; index < languages.Count(); ++index) {
        // Records read from a file hold their texts in the order of the selected languages.
        const int32_t position = record.textPosition(languages.Item(index + 1), static_cast<size_t>(index));
        if (position == 0)
            continue;
        if (written++ == 0)
            out_.append(">\n");
        out_.append(textOpenings_[static_cast<size_t>(index)]);
        helpText(record.HelpTexts.Item(position));
    }
    // Texts of languages that are not selected follow, in the record's order: kept for the day
    // the language is selected again.
    if (written < record.HelpTexts.Count()) {
        for (int32_t position = 1; position <= record.HelpTexts.Count(); ++position) {
            const std::string& language = record.HelpTexts.KeyAt(position);
            if (record.HelpTexts.Item(position).empty() || languages.Contains(language))
                continue; // an empty text of another language holds nothing to keep
            if (written++ == 0)
                out_.append(">\n");
            out_.append("      <HelpText");
            attribute(" Language=\"", language);
            helpText(record.HelpTexts.Item(position));
        }
    }
    out_.append(written > 0 ? "    </HelpItem>\n" : " />\n");
}

void HelpDataWriter::helpText(std::string_view value) {
    if (value.empty()) {
        out_.append(" />\n");
        return;
    }
    out_.append('>');
    text(value);
    out_.append("</HelpText>\n");
}

void HelpDataWriter::prepareTextOpenings(const NameList& languages) {
    textOpenings_.clear();
    for (const std::string& language : languages) {
        std::string opening = "      <HelpText";
        OutputBuffer attributeText([&](std::string_view chunk) { opening += chunk; });
        HelpDataWriter(settings_, attributeText).attribute(" Language=\"", language);
        attributeText.flush();
        textOpenings_.push_back(std::move(opening));
    }
}

void HelpDataWriter::attribute(std::string_view opening, std::string_view value) {
    out_.append(opening);
    escaped(value, BytesToEscape.attribute);
    out_.append('"');
}

void HelpDataWriter::text(std::string_view value) {
    escaped(value, BytesToEscape.text);
}

void HelpDataWriter::escaped(std::string_view value, const EscapeTable& table) {
    std::string cleaned;
    bool checked = false; // the rest of the value is known to be clean
    for (;;) {
        const size_t run = plainLength(value, checked ? table.clean : table.unchecked);
        out_.append(value.substr(0, run));
        if (run == value.size())
            return;
        value.remove_prefix(run);
        const auto c = static_cast<unsigned char>(value.front());
        if (!checked && (c >= 0x80 || isForbiddenXmlControl(static_cast<char>(c)))) {
            // The first byte cleaning could change: the bytes before it are clean as they are,
            // and the rest is stored as cleanXmlText makes it.
            checked = true;
            if (!isCleanXmlText(value)) {
                cleaned = cleanXmlText(value);
                value = cleaned;
            }
            continue;
        }
        value.remove_prefix(1);
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
