// ErrorDialogComponent: the error-report component of the desktop program. It shows the
// report in a dialog offering Retry, Ignore (go on after the failing step) and Abort,
// records the report with the answer in the error log (as the headless component does) and
// answers "Retry", "RetryNext" or "". After an Abort, the reports of the procedures the abort
// passes through on its way out (error 65535, naming the first failure) are logged and answered
// Abort without asking again: one Abort stops the whole action.
#pragma once

#include "addin/ErrorReportComponent.h"
#include "addin/HeadlessErrorComponent.h"

#include <functional>
#include <memory>
#include <string>

class QDialog;

namespace corvane::app {

// What the user answered in the dialog.
enum class ErrorChoice { Retry, Ignore, Abort };

class ErrorDialogComponent : public ErrorReportComponent {
public:
    // Asks the user; tests replace the dialog with their own answer.
    using Ask = std::function<ErrorChoice(const std::string& reportText)>;

    // A component logging through `log` and asking through `ask` (null: the dialog).
    // `aborting` is shared by the components of one registration: true while an Abort passes
    // out through the callers.
    ErrorDialogComponent(std::shared_ptr<HeadlessErrorSettings> log, Ask ask = nullptr,
                         std::shared_ptr<bool> aborting = nullptr);

    void ErrorHandler(Variant& number, const Variant& application, const Variant& module, const Variant& procedure,
                      const Variant& description, Variant& line, const Variant& variables,
                      const Variant& version) override;
    std::string Action() const override { return action_; }

private:
    std::shared_ptr<HeadlessErrorSettings> log_;
    Ask ask_;
    std::shared_ptr<bool> aborting_;
    std::string action_;
};

// The dialog: shows the report and returns the user's choice (Abort when closed). `whenShown`,
// when given, is called from the dialog's event loop once it is up (a picture of it is taken
// there), and may answer it with the dialog's buttons.
ErrorChoice askWithDialog(const std::string& reportText, const std::function<void(QDialog&)>& whenShown = nullptr);

// Registers the dialog component under "HalvexError.Error"; reports are logged through
// `log` (fresh defaults when null). Returns the log settings in use.
std::shared_ptr<HeadlessErrorSettings> registerErrorDialogComponent(std::shared_ptr<HeadlessErrorSettings> log = nullptr,
                                                                    ErrorDialogComponent::Ask ask = nullptr);

} // namespace corvane::app
