#include "app/host/ErrorDialogComponent.h"

#include "addin/ComponentRegistry.h"
#include "vbruntime/VbError.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <sstream>

namespace corvane::app {

namespace {

// What the procedure was doing, in the user's words.
std::string activityOf(const std::string& procedure) {
    struct Activity {
        const char* procedureStart;
        const char* activity;
    };
    static constexpr Activity activities[] = {
        {"ExitApp", "save the help text"},        {"saveHelpData", "save the help text"},
        {"CreateHelpFiles", "create the help files"}, {"CreateSingleHelpFile", "create the help files"},
        {"VBInstance", "read the project"},       {"CheckFormsExist", "read the project"},
        {"LoadHelpData", "read the help text"},   {"Spell", "check the spelling"},
        {"ActiveBar", "carry out the command"},   {"GetCompilerPath", "find the help compiler"},
    };
    for (const Activity& entry : activities)
        if (procedure.rfind(entry.procedureStart, 0) == 0)
            return entry.activity;
    return "finish what it was doing";
}

// The report's first paragraph: one sentence that says what failed and why, before the details.
std::string plainSentence(const Variant& procedure, const Variant& description) {
    std::string reason = description.toText();
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    std::string sentence = "Corvane could not " + activityOf(procedure.toText());
    return reason.empty() ? sentence + "." : sentence + ": " + reason + ".";
}

std::string reportText(const Variant& number, const Variant& module, const Variant& procedure,
                       const Variant& description, const Variant& line, const Variant& variables) {
    std::ostringstream text;
    text << plainSentence(procedure, description) << "\r\n\r\n"
         << "Error " << number.toText() << " in " << module.toText() << "." << procedure.toText() << ", line "
         << line.toText() << ":\r\n"
         << description.toText() << "\r\n\r\n"
         << variables.toText();
    return text.str();
}

std::string answerOf(ErrorChoice choice) {
    switch (choice) {
    case ErrorChoice::Retry: return "Retry";
    case ErrorChoice::Ignore: return "RetryNext";
    case ErrorChoice::Abort: break;
    }
    return "";
}

} // namespace

ErrorDialogComponent::ErrorDialogComponent(std::shared_ptr<HeadlessErrorSettings> log, Ask ask,
                                           std::shared_ptr<bool> aborting)
    : log_(std::move(log)), ask_(ask ? std::move(ask) : Ask([](const std::string& report) { return askWithDialog(report); })),
      aborting_(aborting ? std::move(aborting) : std::make_shared<bool>(false)) {}

void ErrorDialogComponent::ErrorHandler(Variant& number, const Variant& application, const Variant& module,
                                        const Variant& procedure, const Variant& description, Variant& line,
                                        const Variant& variables, const Variant& version) {
    const bool passedOn = *aborting_ && number.toText() == std::to_string(vberr::Raised);
    action_ = passedOn ? std::string() : answerOf(ask_(reportText(number, module, procedure, description, line, variables)));
    *aborting_ = action_.empty();
    // The log records the report with the user's answer, in the headless component's format.
    log_->scriptedAnswers.push_front(action_);
    HeadlessErrorComponent logger(log_);
    logger.ErrorHandler(number, application, module, procedure, description, line, variables, version);
}

ErrorChoice askWithDialog(const std::string& reportText, const std::function<void(QDialog&)>& whenShown) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("ErrorReport"));
    dialog.setWindowTitle(QStringLiteral("Corvane - Error"));
    auto* layout = new QVBoxLayout(&dialog);
    // The plain sentence leads; the details, for whoever looks into the fault, come below.
    QString text = QString::fromStdString(reportText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    qsizetype end = text.indexOf(QStringLiteral("\n\n"));
    auto* sentence = new QLabel(text.left(end));
    sentence->setObjectName(QStringLiteral("sentence"));
    sentence->setWordWrap(true);
    QFont bold = sentence->font();
    bold.setBold(true);
    sentence->setFont(bold);
    layout->addWidget(sentence);
    layout->addWidget(new QLabel(QStringLiteral("Retry tries the step again, Ignore goes on with the next step, Abort stops "
                                                "what Corvane was doing. The details below are kept in the error log.")));
    auto* report = new QPlainTextEdit(end < 0 ? text : text.mid(end + 2));
    report->setReadOnly(true);
    report->setMinimumSize(520, 260);
    layout->addWidget(report);
    auto* buttons = new QDialogButtonBox;
    ErrorChoice choice = ErrorChoice::Abort;
    for (auto [button, value] : {std::pair{QDialogButtonBox::Retry, ErrorChoice::Retry},
                                 std::pair{QDialogButtonBox::Ignore, ErrorChoice::Ignore},
                                 std::pair{QDialogButtonBox::Abort, ErrorChoice::Abort}}) {
        QPushButton* pushButton = buttons->addButton(button);
        QObject::connect(pushButton, &QPushButton::clicked, &dialog, [&dialog, &choice, value] {
            choice = value;
            dialog.accept();
        });
    }
    layout->addWidget(buttons);
    if (whenShown)
        QTimer::singleShot(0, &dialog, [&dialog, &whenShown] { whenShown(dialog); });
    dialog.exec();
    return choice;
}

std::shared_ptr<HeadlessErrorSettings> registerErrorDialogComponent(std::shared_ptr<HeadlessErrorSettings> log,
                                                                    ErrorDialogComponent::Ask ask) {
    if (!log)
        log = std::make_shared<HeadlessErrorSettings>();
    auto aborting = std::make_shared<bool>(false);
    ComponentRegistry::instance().registerFactory(ErrorComponentId, [log, ask, aborting] {
        return std::make_unique<ErrorDialogComponent>(log, ask, aborting);
    });
    return log;
}

} // namespace corvane::app
