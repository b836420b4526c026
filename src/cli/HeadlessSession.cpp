#include "cli/HeadlessSession.h"

#include "addin/HeadlessErrorComponent.h"
#include "editor/FrmWizard.h"
#include "vbide/CommandBars.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"

namespace corvane::cli {

HeadlessSession::HeadlessSession(std::ostream& out, std::ostream& err, bool printMessages)
    : out_(out), err_(err), windowScope_(windows_) {
    windows_.useDefaultAnswers(false);
    if (printMessages) {
        windows_.MessageShown.connect([this](const controls::MessageBoxRecord& message) {
            out_ << "[" << message.title << "] " << message.prompt << "\n";
        });
    }
    auto settings = std::make_shared<HeadlessErrorSettings>();
    settings->notices = &err_;
    errorComponent_ = std::make_unique<ScopedComponentRegistration>(ErrorComponentId, [this, settings] {
        ++reports_;
        return std::make_unique<HeadlessErrorComponent>(settings);
    });
}

HeadlessSession::~HeadlessSession() = default;

bool HeadlessSession::open(const std::filesystem::path& projectFile, std::optional<int> codePage) {
    ide_ = std::make_shared<vbide::VBE>();
    try {
        project_ = ide_->openProject(projectFile, codePage);
    } catch (const VbError& error) {
        err_ << "corvane: " << error.description() << "\n";
        return false;
    }
    addin_.load();
    addin_.connect(ide_);
    if (!addin_.wizard()->menuEntry()) {
        err_ << "corvane: the add-in could not install its menu entry\n";
        return false;
    }
    addin_.wizard()->menuEntry()->click();
    return true;
}

FrmWizard* HeadlessSession::editor() const { return addin_.editor(); }

bool HeadlessSession::scanSucceeded() const {
    return reports_ == 0 && editor() && editor()->helpDataFile().complete();
}

bool HeadlessSession::closeAndSave() {
    FrmWizard* window = editor();
    if (!window || !window->loaded())
        return false;
    int before = reports_;
    // The close drops the window's records; held here, they are freed with the session, which
    // a command that ends the process leaves to the system (SessionEnd.h).
    closedRecords_ = window->formsData();
    window->userClose();
    windows_.runPendingEvents(); // the deferred save
    if (window->loaded()) {
        err_ << "corvane: the help data was not saved\n";
        return false;
    }
    try {
        project_->save();
    } catch (const VbError& error) {
        err_ << "corvane: " << error.description() << "\n";
        return false;
    }
    return reports_ == before;
}

} // namespace corvane::cli
