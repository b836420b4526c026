// ExchangeSession: a project opened headless for `export`, `import` and `coverage`: the
// project scan runs as the editor runs it (so the texts are those of the project's current
// controls), nothing is saved, and the help text is copied out for the exchange library: the
// editor's records go as they are copied, and the editor saves nothing afterwards.
// What the scan showed in message boxes (a module that could not be read, a damaged settings
// file) is printed as a warning and the command goes on with what was read; only a scan that
// failed (an error report) or opened no editor ends it.
#pragma once

#include "cli/HeadlessSession.h"
#include "exchange/ProjectTexts.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace corvane::cli {

class ExchangeSession {
public:
    // A session for `command` ("export" ...), printing its messages to `err`; `writes` says
    // whether the command may write files of its own (an import writes the data file).
    ExchangeSession(std::ostream& out, std::ostream& err, std::string command, SessionWrites writes);

    // Opens and scans the project (its files in `codePage`, or in the one detected), printing the
    // scan's messages as warnings. False, with a message, when it cannot be opened or the scan
    // failed (an error report).
    bool open(const std::string& projectFile, std::optional<int> codePage = std::nullopt);

    // The project's help text, after open.
    const exchange::ProjectTexts& texts() const { return texts_; }
    // Lets the project's help text go, for a command that has taken what it needs of it.
    void releaseTexts() { texts_.modules = {}; }
    // The help data file the scan read.
    std::filesystem::path dataFile() const;
    // The code page the project's files were read in, after open.
    int projectCodePage() const;
    // What of the project `output` names (OutputTarget.h); "" when it names none of its files.
    std::string projectFileAt(const std::filesystem::path& output);
    // Why `output` is no place for an output (OutputTarget.h); "" when it is one.
    std::string unfitOutput(const std::filesystem::path& output);
    // The project's spelling of `language`; "" (with a message naming the project's languages)
    // when it is not one of them.
    std::string projectLanguage(const std::string& language);
    // The language tag of a language for translation tools ("de-DE"), from its dictionary.
    static std::string languageTag(const std::string& language);

private:
    void copyTexts();

    std::ostream& err_;
    std::string command_;
    HeadlessSession session_;
    exchange::ProjectTexts texts_;
    std::filesystem::path dataFile_;
};

} // namespace corvane::cli
