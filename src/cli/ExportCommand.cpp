#include "cli/ExportCommand.h"

#include "cli/CodePageOption.h"
#include "cli/ExchangeSession.h"
#include "exchange/ExchangeFile.h"
#include "exchange/PoWriter.h"
#include "exchange/TranslationExport.h"
#include "exchange/XliffWriter.h"
#include "platform/Utf8Path.h"
#include "vbruntime/VbError.h"

#include <optional>

namespace corvane::cli {

namespace {

struct ExportOptions {
    std::string project;
    std::optional<int> codePage; // --codepage
    std::string language;
    exchange::ExchangeFormat format = exchange::ExchangeFormat::Xliff;
    std::string output;
};

const char* const Usage =
    "Usage: corvane export PROJECT.vbp --language NAME [--format xliff|po] [-o FILE]\n";

bool parseOptions(const std::vector<std::string>& arguments, ExportOptions& options,
                  std::ostream& err) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (argument == "--language" && hasValue) {
            options.language = arguments[++i];
        } else if (argument == "--format" && hasValue) {
            auto format = exchange::formatNamed(arguments[++i]);
            if (!format) {
                err << "corvane export: unknown format '" << arguments[i] << "'; use xliff or po\n";
                return false;
            }
            options.format = *format;
        } else if ((argument == "-o" || argument == "--output") && hasValue) {
            options.output = arguments[++i];
        } else if (!argument.empty() && argument[0] != '-' && options.project.empty()) {
            options.project = argument;
        } else {
            err << "corvane export: unexpected argument '" << argument << "'\n";
            return false;
        }
    }
    if (options.project.empty() || options.language.empty()) {
        err << Usage;
        return false;
    }
    return true;
}

// Writes the units one by one as they are made, to the file or to standard output.
void write(const ExportOptions& options, const exchange::ExchangeDocument& header, const exchange::UnitSource& units,
           size_t count, std::ostream& out) {
    bool xliff = options.format == exchange::ExchangeFormat::Xliff;
    if (options.output.empty()) {
        if (xliff)
            exchange::writeXliff(out, header, units);
        else
            exchange::writePo(out, header, units, exchange::currentPoRevisionDate());
        return;
    }
    if (xliff)
        exchange::writeXliffFile(platform::pathFromUtf8(options.output), header, units);
    else
        exchange::writePoFile(platform::pathFromUtf8(options.output), header, units);
    out << "Exported " << count << " texts of " << header.targetLanguage << " to " << options.output << "\n";
}

} // namespace

int runExport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    ExportOptions options;
    std::vector<std::string> rest = arguments;
    if (!takeCodePageOption(rest, options.codePage, "export", err) || !parseOptions(rest, options, err))
        return 2;
    ExchangeSession session(out, err, "export", SessionWrites::Nothing);
    if (!session.open(options.project, options.codePage))
        return 2;
    std::string language = session.projectLanguage(options.language);
    if (language.empty())
        return 2;
    if (!options.output.empty()) {
        std::string clash = session.projectFileAt(platform::pathFromUtf8(options.output));
        if (!clash.empty()) {
            err << "corvane export: -o " << options.output << " is " << clash
                << "; an export never replaces a file of the project; nothing was written\n";
            return 2;
        }
        if (std::string unfit = session.unfitOutput(platform::pathFromUtf8(options.output)); !unfit.empty()) {
            err << "corvane export: -o " << options.output << " is " << unfit << "; nothing was written\n";
            return 2;
        }
    }
    const exchange::ProjectTexts& texts = session.texts();
    const size_t count = exchange::exportUnitCount(texts);
    if (count == 0) {
        err << "corvane export: no control of " << texts.project << " has " << texts.primaryLanguage
            << " help text, so there is nothing to translate; nothing was written\n";
        return 2;
    }
    auto header = exchange::exportHeader(texts, language, ExchangeSession::languageTag(texts.primaryLanguage),
                                         ExchangeSession::languageTag(language));
    try {
        write(options, header, exchange::exportUnits(texts, language), count, out);
    } catch (const VbError& error) {
        err << "corvane export: " << error.description() << "\n";
        return 2;
    }
    return 0;
}

} // namespace corvane::cli
