// HeadlessSession: the add-in at work on one project without windows, as the command line
// runs it: a headless window system answering message boxes by default, the headless error
// component, an IDE over the project's files, the add-in loaded and connected, and the menu
// command invoked as a user would click it.
#pragma once

#include "addin/ComponentRegistry.h"
#include "addin/HeadlessErrorComponent.h"
#include "connect/Addin.h"
#include "controls/HeadlessWindowSystem.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace corvane {
class FrmWizard;
namespace vbide {
class VBComponent;
class VBE;
class VBProject;
} // namespace vbide
} // namespace corvane

namespace corvane::cli {

// Whether a command may write files besides those it names: a command that changes nothing
// (scan without --save, coverage, export, preview, spell) writes no error log either; what it
// would log reaches the terminal alone.
enum class SessionWrites { Files, Nothing };

class HeadlessSession {
public:
    // A session printing message boxes to `out` (when `printMessages`) and notices and notes to
    // `err`.
    HeadlessSession(std::ostream& out, std::ostream& err, bool printMessages,
                    SessionWrites writes = SessionWrites::Files);
    ~HeadlessSession();

    // Opens the project (its files in `codePage`, or in the one detected) and clicks the
    // add-in's menu entry (the scan runs). False, with a message on the error stream, when the
    // project or its help data file cannot be opened.
    bool open(const std::filesystem::path& projectFile, std::optional<int> codePage = std::nullopt);
    // Closes the editor with its close box, lets the deferred save run, and saves the project's
    // changed files as the user would. False when anything was not saved.
    bool closeAndSave();

    // The editor window after open (null when the scan opened none).
    FrmWizard* editor() const;
    // The IDE after open.
    const std::shared_ptr<vbide::VBE>& ide() const { return ide_; }
    // The project after open.
    const std::shared_ptr<vbide::VBProject>& project() const { return project_; }
    // The add-in.
    Addin& addin() { return addin_; }
    // The window system (messages shown, scripted answers).
    controls::HeadlessWindowSystem& windows() { return windows_; }
    // Number of error reports made so far.
    int reportsMade() const { return reports_; }
    // True when the scan opened the editor without an error report and loaded every text and
    // number of the data file: only then may the session save (a save would otherwise hold less
    // than the file). What a load leaves out that holds nothing written does not stop it.
    bool scanSucceeded() const;
    // Why the scan did not succeed, for the last line of a command that therefore saves
    // nothing: the help data file not loaded completely, or an error reported (both above).
    std::string scanFailure() const;
    // The visual modules whose designer could not be read, in project order.
    std::vector<std::string> unreadableModules() const;
    // Writes one line to the error stream for each module whose designer could not be read
    // ("corvane COMMAND: the designer of 'frmAbout' (FILE) could not be read: WHY"); false when
    // there was one.
    bool reportUnreadableModules(const std::string& command) const;
    // Writes each message box the scan showed to the error stream as a warning
    // ("corvane COMMAND: warning: [TITLE] TEXT").
    void printScanWarnings(const std::string& command);

private:
    std::vector<std::shared_ptr<vbide::VBComponent>> unreadableDesigners() const;

    std::ostream& out_;
    std::ostream& err_;
    controls::HeadlessWindowSystem windows_;
    controls::WindowSystemScope windowScope_;
    NoteDestination notes_;
    std::unique_ptr<ScopedComponentRegistration> errorComponent_;
    int reports_ = 0;
    std::shared_ptr<vbide::VBE> ide_;
    std::shared_ptr<vbide::VBProject> project_;
    Addin addin_;
    // The editor's records after closeAndSave (destroyed before the add-in they refer to).
    std::shared_ptr<const void> closedRecords_;
    // Where the first save keeps the data file's bytes when its load left something out.
    std::filesystem::path dataFileCopy_;
    std::string dataFileSaving_; // what the save made of the file, for the line naming the copy
};

} // namespace corvane::cli
