#include "cli/ImportCommand.h"

#include "cli/CodePageOption.h"
#include "cli/ExchangeSession.h"
#include "cli/HelpDataTexts.h"
#include "exchange/ExchangeFile.h"
#include "exchange/ImportPlan.h"
#include "platform/Utf8Path.h"
#include "vbruntime/VbError.h"

#include <optional>

namespace corvane::cli {

namespace {

struct ImportOptions {
    std::string project;
    std::optional<int> codePage; // --codepage
    std::string file;
    bool dryRun = false;
};

bool parseOptions(const std::vector<std::string>& arguments, ImportOptions& options,
                  std::ostream& err) {
    for (const std::string& argument : arguments) {
        if (argument == "--dry-run")
            options.dryRun = true;
        else if (!argument.empty() && argument[0] != '-' && options.project.empty())
            options.project = argument;
        else if (!argument.empty() && argument[0] != '-' && options.file.empty())
            options.file = argument;
        else {
            err << "corvane import: unexpected argument '" << argument << "'\n";
            return false;
        }
    }
    if (options.file.empty()) {
        err << "Usage: corvane import PROJECT.vbp FILE [--dry-run]\n";
        return false;
    }
    return true;
}

// The plan for the file, made as it is read, or nothing (with a message) when the file is
// refused.
std::optional<exchange::ImportPlan> planFor(const ExchangeSession& session, const std::string& file,
                                            std::ostream& err) {
    try {
        exchange::ImportPlanner planner(session.texts(), file);
        exchange::readExchangeFile(platform::pathFromUtf8(file), planner);
        return planner.take();
    } catch (const VbError& error) {
        err << "corvane import: " << error.description() << "\n";
    } catch (const std::runtime_error& error) { // not an exchange file, or refused
        err << "corvane import: " << error.what() << "\n";
    }
    return std::nullopt;
}

// Applies the changes to the data file; a change the file has no record for moves to skipped.
void applyChanges(exchange::ImportPlan& plan, HelpDataTexts& data) {
    std::vector<exchange::TextChange> applied;
    for (exchange::TextChange& change : plan.changes) {
        if (data.setText(change.module, change.controlKey, plan.language, change.after))
            applied.push_back(std::move(change));
        else
            plan.skipped.push_back({exchange::unitId(change.module, change.controlKey),
                                    "its record in the help data file is missing or in the old "
                                    "form (one text without a language); "
                                    "open and close the project in the editor once"});
    }
    plan.changes = std::move(applied);
}

void report(const exchange::ImportPlan& plan, std::ostream& out) {
    for (const exchange::TextChange& change : plan.changes)
        out << "Changed " << exchange::unitId(change.module, change.controlKey) << "\n";
    for (const exchange::UnitNote& note : plan.notes)
        out << "Note: " << note.id << ": " << note.note << "\n";
    for (const exchange::SkippedUnit& skipped : plan.skipped)
        out << "Skipped " << skipped.id << ": " << skipped.reason << "\n";
    if (plan.skippedUnlisted > 0)
        out << "Skipped " << plan.skippedUnlisted << " more units (only the first " << plan.skipped.size()
            << " are listed).\n";
    out << plan.language << ": " << plan.changes.size() << " changed, " << plan.unchanged << " unchanged, "
        << plan.skipped.size() + static_cast<size_t>(plan.skippedUnlisted) << " skipped.\n";
}

} // namespace

int runImport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    ImportOptions options;
    std::vector<std::string> rest = arguments;
    if (!takeCodePageOption(rest, options.codePage, "import", err) || !parseOptions(rest, options, err))
        return 2;
    ExchangeSession session(out, err, "import", SessionWrites::Files);
    if (!session.open(options.project, options.codePage))
        return 2;
    auto plan = planFor(session, options.file, err);
    if (!plan)
        return 2;
    session.releaseTexts(); // the plan holds what the changes need; the file is read again below
    // The report follows the save: nothing is reported as changed that did not reach the file.
    try {
        if (!plan->changes.empty()) {
            HelpDataTexts data(session.dataFile(), session.projectCodePage());
            applyChanges(*plan, data);
            if (!options.dryRun && !plan->changes.empty())
                data.save();
        }
    } catch (const VbError& error) {
        std::string reason = error.description();
        if (!reason.empty() && reason.back() == '.')
            reason.pop_back();
        err << "corvane import: " << reason << "; nothing was imported\n";
        return 2;
    }
    report(*plan, out);
    if (options.dryRun)
        out << "Dry run: nothing was written.\n";
    else if (plan->changes.empty())
        out << "Nothing to change; " << session.dataFile().string() << " was not written.\n";
    else
        out << "Saved " << session.dataFile().string() << "\n";
    return plan->skippedAny() ? 1 : 0;
}

} // namespace corvane::cli
