#include "cli/CoverageCommand.h"

#include "cli/CodePageOption.h"
#include "cli/ExchangeSession.h"
#include "cli/JsonWriter.h"
#include "exchange/Coverage.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace corvane::cli {

namespace {

struct CoverageOptions {
    std::string project;
    std::optional<int> codePage; // --codepage
    std::optional<std::string> language;
    bool json = false;
    std::optional<double> minimum;
};

std::optional<double> percentValue(const std::string& text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 0 && value <= 100))
        return std::nullopt;
    return value;
}

bool parseOptions(const std::vector<std::string>& arguments, CoverageOptions& options,
                  std::ostream& err) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (argument == "--json") {
            options.json = true;
        } else if (argument == "--language" && hasValue && !options.language) {
            options.language = arguments[++i];
        } else if (argument == "--min" && hasValue) {
            options.minimum = percentValue(arguments[++i]);
            if (!options.minimum) {
                err << "corvane coverage: --min takes a percentage from 0 to 100, not '"
                    << arguments[i] << "'\n";
                return false;
            }
        } else if (!argument.empty() && argument[0] != '-' && options.project.empty()) {
            options.project = argument;
        } else {
            err << "corvane coverage: unexpected argument '" << argument << "'\n";
            return false;
        }
    }
    if (options.project.empty()) {
        err << "Usage: corvane coverage PROJECT.vbp [--language NAME] [--json] [--min PERCENT]\n";
        return false;
    }
    return true;
}

bool belowMinimum(const exchange::LanguageCoverage& language,
                  const std::optional<double>& minimum) {
    return minimum && 100.0 * language.withText < *minimum * language.controls;
}

// The percentage rounded down to a tenth, so that a share just under a minimum never shows it.
std::string percentText(double percent) {
    double tenths = std::floor(percent * 10 + 1e-9);
    std::string text = std::to_string(static_cast<long long>(tenths / 10)) + "." +
                       std::to_string(static_cast<long long>(tenths) % 10);
    return text;
}

std::string minimumText(double minimum) {
    std::string text = std::to_string(minimum);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

void writeText(std::ostream& out, const exchange::CoverageReport& report,
               const std::optional<double>& minimum) {
    for (const exchange::LanguageCoverage& language : report.languages) {
        out << language.language << ": " << language.withText << " of " << language.controls
            << " controls have help text (" << percentText(language.percent()) << "%)\n";
        for (const exchange::ModuleCoverage& module : report.modules) {
            if (module.language != language.language || (module.controls == 0 && !module.unreadable))
                continue;
            out << "  " << module.module << (module.unreadable ? " (its designer could not be read)" : "") << ": "
                << module.withText << " of " << module.controls;
            for (size_t i = 0; i < module.missing.size(); ++i)
                out << (i == 0 ? "; missing: " : ", ") << module.missing[i];
            out << "\n";
        }
    }
    for (const exchange::LanguageCoverage& language : report.languages)
        if (belowMinimum(language, minimum))
            out << language.language << " is below the minimum of " << minimumText(*minimum)
                << "%\n";
}

void writeCounts(JsonWriter& json, int controls, int withText) {
    json.key("controls");
    json.value(controls);
    json.key("withText");
    json.value(withText);
}

void writeModulesJson(JsonWriter& json, const exchange::CoverageReport& report,
                      const std::string& language) {
    json.key("modules");
    json.beginArray();
    for (const exchange::ModuleCoverage& module : report.modules) {
        if (module.language != language)
            continue;
        json.beginObject();
        json.key("module");
        json.value(module.module);
        if (module.unreadable) {
            json.key("unreadable");
            json.value(true);
        }
        writeCounts(json, module.controls, module.withText);
        json.key("missing");
        json.beginArray();
        for (const std::string& key : module.missing)
            json.value(key);
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void writeJson(std::ostream& out, const std::string& project,
               const exchange::CoverageReport& report, const std::optional<double>& minimum) {
    JsonWriter json(out);
    json.beginObject();
    json.key("project");
    json.value(project);
    json.key("languages");
    json.beginArray();
    for (const exchange::LanguageCoverage& language : report.languages) {
        json.beginObject();
        json.key("language");
        json.value(language.language);
        writeCounts(json, language.controls, language.withText);
        json.key("belowMinimum");
        json.value(belowMinimum(language, minimum));
        writeModulesJson(json, report, language.language);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    json.flush(); // the writer buffers; its text must come before the line break
    out << "\n";
}

} // namespace

int runCoverage(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CoverageOptions options;
    std::vector<std::string> rest = arguments;
    if (!takeCodePageOption(rest, options.codePage, "coverage", err) || !parseOptions(rest, options, err))
        return 2;
    ExchangeSession session(out, err, "coverage", SessionWrites::Nothing);
    if (!session.open(options.project, options.codePage))
        return 2;
    std::vector<std::string> languages = session.texts().languages;
    if (options.language) {
        std::string language = session.projectLanguage(*options.language);
        if (language.empty())
            return 2;
        languages = {language};
    }
    auto report = exchange::computeCoverage(session.texts(), languages);
    if (options.json)
        writeJson(out, session.texts().project, report, options.minimum);
    else
        writeText(out, report, options.minimum);
    for (const exchange::LanguageCoverage& language : report.languages)
        if (belowMinimum(language, options.minimum))
            return 1;
    return 0;
}

} // namespace corvane::cli
