#include "cli/HeadlessSession.h"

#include "editor/FrmWizard.h"
#include "files/RegularFile.h"
#include "helpdata/HelpDataFile.h"
#include "platform/SystemFiles.h"
#include "text/MessageText.h"
#include "vbide/CommandBars.h"
#include "vbide/VBComponent.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"

namespace corvane::cli {

HeadlessSession::HeadlessSession(std::ostream& out, std::ostream& err, bool printMessages, SessionWrites writes)
    : out_(out), err_(err), windowScope_(windows_), notes_(err, writes == SessionWrites::Files) {
    windows_.useDefaultAnswers(false);
    if (printMessages) {
        windows_.MessageShown.connect([this](const controls::MessageBoxRecord& message) {
            out_ << "[" << message.title << "] " << message.prompt << "\n";
        });
    }
    auto settings = std::make_shared<HeadlessErrorSettings>();
    settings->notices = &err_;
    settings->writeLog = writes == SessionWrites::Files;
    errorComponent_ = std::make_unique<ScopedComponentRegistration>(ErrorComponentId, [this, settings] {
        ++reports_;
        return std::make_unique<HeadlessErrorComponent>(settings);
    });
}

HeadlessSession::~HeadlessSession() = default;

bool HeadlessSession::open(const std::filesystem::path& projectFile, std::optional<int> codePage) {
    // A data file that cannot be read at all (a FIFO, a folder, no permission) leaves nothing
    // for a command to work on: refused here, naming it, before anything reads it.
    try {
        int fd = openRegularFileIfExists(HelpDataFile::locate(projectFile));
        if (fd >= 0)
            platform::closeFile(fd);
    } catch (const VbError& error) {
        err_ << "corvane: the help data file cannot be read: " << error.description() << "\n";
        return false;
    }
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
    if (editor()) { // where a save keeps what it leaves out or turns into UTF-8, and why
        const HelpDataFile& dataFile = editor()->helpDataFile();
        dataFileCopy_ = dataFile.backupPath();
        if (!dataFile.complete())
            dataFileSaving_ = " was saved with all of its texts, without what its problems above name as not read";
        else if (dataFile.readInCodePage())
            dataFileSaving_ = " was read in code page " + std::to_string(*dataFile.readInCodePage()) +
                              ", the project's, and saved in UTF-8";
    }
    return true;
}

FrmWizard* HeadlessSession::editor() const { return addin_.editor(); }

bool HeadlessSession::scanSucceeded() const {
    return reports_ == 0 && editor() && !editor()->helpDataFile().losesText();
}

std::string HeadlessSession::scanFailure() const {
    if (editor() && editor()->helpDataFile().losesText())
        return "the help data file " + editor()->helpDataFile().path().string() +
               " was not loaded completely and a save would lose what it left out (see its problems above)";
    if (reports_ > 0)
        return "the scan ended with an error (see the report above)";
    return "the scan failed";
}

std::vector<std::shared_ptr<vbide::VBComponent>> HeadlessSession::unreadableDesigners() const {
    std::vector<std::shared_ptr<vbide::VBComponent>> designers;
    if (project_)
        for (const auto& component : project_->VBComponents())
            if (component->Type() >= 5 && component->Type() <= 9 && component->failure())
                designers.push_back(component);
    return designers;
}

std::vector<std::string> HeadlessSession::unreadableModules() const {
    std::vector<std::string> names;
    for (const auto& component : unreadableDesigners())
        names.push_back(component->Name());
    return names;
}

bool HeadlessSession::reportUnreadableModules(const std::string& command) const {
    const auto designers = unreadableDesigners();
    for (const auto& component : designers)
        err_ << "corvane " << command << ": the designer of '" << component->Name() << "' ("
             << component->FileNames(1) << ") could not be read: " << oneLine(component->failure()->description())
             << "\n";
    return designers.empty();
}

void HeadlessSession::printScanWarnings(const std::string& command) {
    for (const auto& message : windows_.messages())
        err_ << "corvane " << command << ": warning: [" << message.title << "] " << oneLine(message.prompt) << "\n";
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
    std::error_code noCopy;
    if (!dataFileCopy_.empty() && std::filesystem::exists(dataFileCopy_, noCopy))
        err_ << "corvane: the help data file " << window->helpDataFile().path().string() << dataFileSaving_
             << "; the file as it was is kept in " << dataFileCopy_.string() << "\n";
    try {
        project_->save();
    } catch (const VbError& error) {
        err_ << "corvane: " << error.description() << "\n";
        return false;
    }
    return reports_ == before;
}

} // namespace corvane::cli
