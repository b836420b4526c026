// HelpDataWriter: renders the help data file's text straight from the records into an
// output buffer, without building a document first.
//
// The bytes are those of the document HelpDataFile::document() builds, written as XMLDocument
// writes it (the declaration, two spaces of indentation per level, texts inline, LF line
// ends), so a file saved either way is the same file:
//   <?xml version="1.0" encoding="UTF-8"?>
//   <Root CurrentLanguage=".." PrimaryLanguage=".." GenerateHTML="True" ...>
//     <SelectedLanguage Name="English" />
//     <VBComponent ComponentName="frmMain">
//       <HelpItem ComponentName="frmMain" ControlName="txtName" ... Caption="..">
//         <HelpText Language="English">The customer's name</HelpText>
//       </HelpItem>
//     </VBComponent>
//   </Root>
// A record's texts come in the order of the selected languages, then the texts of languages
// that are not selected (kept until the language is selected again) in the record's order.
// Texts are stored as the document stores them (cleanXmlText): the control characters XML does
// not allow dropped (a vertical tab becomes CR LF), bytes that are not UTF-8 replaced by U+FFFD;
// & < > and CR in texts and & < " tab CR LF in attribute values escaped.
#pragma once

#include "files/OutputBuffer.h"
#include "helpdata/HelpItem.h"
#include "vbruntime/KeyedCollection.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The bytes that stop a plain run of a value: those written as references once the value is
// known to be clean, and before that also the bytes cleaning looks at.
struct EscapeTable {
    bool clean[256] = {};
    bool unchecked[256] = {};
};

class HelpDataWriter {
public:
    // A writer of the settings and languages of `settings` into `out` (both outlive it).
    HelpDataWriter(HelpDataSettings& settings, OutputBuffer& out) : settings_(settings), out_(out) {}

    // Writes the whole file: the root with the settings, the selected languages and one
    // "VBComponent" per module with a "HelpItem" per record. An empty SelectedLanguages gets
    // "Neutral" before the first record, as a record written into a document does.
    void write(const ModuleRecords& forms, const NameList& formNames);

    // The parts of write(), in its order: writeStart, writeModules for every module, writeEnd.
    // Parts of one file may be written by several writers, each into its own buffer.
    // The declaration, the root and the selected languages; false when the root was closed at
    // once (no language, no module) and nothing else belongs to the file.
    bool writeStart(const ModuleRecords& forms);
    // The modules at positions `first` to `last` (from 1), with their records.
    void writeModules(const ModuleRecords& forms, const NameList& formNames, int32_t first, int32_t last);
    // The end of the root.
    void writeEnd();

private:
    void writeRoot();
    void writeRecord(const HelpItem& record);
    // The rest of a "HelpText" element after its opening and attributes.
    void helpText(std::string_view value);
    void prepareTextOpenings(const NameList& languages);
    // ` name="` (given whole as `opening`), the value escaped, and the closing quote.
    void attribute(std::string_view opening, std::string_view value);
    void text(std::string_view value);
    void escaped(std::string_view value, const EscapeTable& table);
    void indent(int depth);

    HelpDataSettings& settings_;
    OutputBuffer& out_;
    // Per selected language, in order: `      <HelpText Language="..."`, its value escaped once
    // for every record.
    std::vector<std::string> textOpenings_;
};

} // namespace corvane
