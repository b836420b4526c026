// frmWizard: the help file creation run (CreateHelpFiles), behind the toolbar's "compile".
//
// One synchronous run: locate the compilers, generate every selected language, write the
// context numbers and each module's popup-help flag into the project, place the primary
// language's compiled help file beside the project, and say where the projects went.
#include "addin/StringTable.h"
#include "controls/BusyWindow.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "files/AtomicFile.h"
#include "files/FileOperations.h"
#include "generate/CompileLock.h"
#include "generate/CompilerLocation.h"
#include "generate/CompilerRegistration.h"
#include "generate/HelpCompilerRun.h"
#include "generate/HelpOutputLayout.h"
#include "generate/ProducedFiles.h"
#include "generate/TopicsAhead.h"
#include "platform/Utf8Path.h"
#include "process/ParallelFor.h"
#include "registry/RegistryAccess.h"
#include "settings/FrmCompileLog.h"
#include "settings/ModMain.h"
#include "vbide/VBControl.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/Utilities.h"
#include "vbruntime/VbConvert.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace corvane {

namespace {

using controls::vbExclamation;
using controls::vbInformation;
using controls::vbOKOnly;
using controls::vbQuestion;
using controls::vbYes;
using controls::vbYesNo;

int msgBox(int16_t prompt, int style, int16_t title) {
    return controls::WindowSystem::get().MsgBox(LoadResString(prompt), style, LoadResString(title));
}

// What follows "The Winhelp compiler was not located" when no WinHelp compiler is associated
// at all: what the run does without one and how the user stops being told. After a chooser the
// user cancelled, the association names some program, so the note would be untrue: none.
std::string winHelpNotCompiledNote() {
    if (!registry().GetValue(RegistryRoot::LocalMachine, winHelpCompilerKind().commandKey, "").empty())
        return std::string();
    return ".  WinHelp projects will be generated but not compiled: no WinHelp compiler (hcrtf.exe) is "
           "associated with WinHelp project files (.hpj). Turn off \"" +
           LoadResString(158) + "\" in the options not to be told again.";
}

} // namespace

// A compile that changes no number writes no form, and one that does builds no property set:
// the form's summary keeps the number for the save.
void FrmWizard::setContextNumber(vbide::VBControl& control, int32_t id) {
    std::optional<int32_t> current = control.whatsThisHelpID();
    if (current && *current != id)
        control.setWhatsThisHelpID(id);
}

namespace {

// The first sentence of the run's last message: how many help projects were created (and
// compiled). One project is said in the singular.
std::string runSummary(int32_t projects, bool compiled) {
    if (projects == 1)
        return compiled ? "1 Help project was created and compiled in the directory "
                        : "1 Help project was created in the directory ";
    return std::to_string(projects) + " " + LoadResString(compiled ? 156 : 138);
}

// Which generated formats the run left uncompiled and why, or "" when it compiled all it
// generated: the end names a format compiled only when it was.
std::string notCompiledNote(const ModMain& s, bool htmlCompiled, bool winHelpCompiled) {
    std::string note;
    auto add = [&](bool generated, bool compiled, bool asked, const char* format, int16_t option) {
        if (!generated || compiled)
            return;
        note += std::string("\n\nThe ") + format + " projects were not compiled: ";
        note += asked ? std::string("no compiler was located.") : "\"" + LoadResString(option) + "\" is off in the options.";
    };
    add(s.mGenerateHTML, htmlCompiled, s.mCompileHTML, "HTML Help", 141);
    add(s.mGenerateWinHelp, winHelpCompiled, s.mCompileWinHelp, "WinHelp", 158);
    return note;
}

// The files the run made for the user and those it was asked for and did not write, each
// named from the output folder.
std::string producedList(const std::vector<std::filesystem::path>& delivered,
                         const std::vector<std::filesystem::path>& missing, const std::string& outputFolder) {
    auto name = [&](const std::filesystem::path& file) {
        std::filesystem::path relative = file.lexically_relative(platform::pathFromUtf8(outputFolder));
        return platform::utf8Of(outputFolder.empty() || relative.empty() || *relative.begin() == ".." ? file : relative);
    };
    std::string list = "\n\nProduced:";
    if (delivered.empty())
        list += "\n  (nothing)";
    for (const auto& file : delivered)
        list += "\n  " + name(file);
    list += "\n\nNot produced:";
    for (const auto& file : missing)
        list += "\n  " + name(file);
    return list;
}

// The help files beside the project that the run left as an earlier compile placed them,
// because it did not produce new ones.
std::string keptList(const std::vector<std::filesystem::path>& kept) {
    std::string list = "\n\nLeft as an earlier compile placed them, with the project's help file setting:";
    for (const auto& file : kept)
        list += "\n  " + platform::utf8Of(file);
    return list;
}

} // namespace

void FrmWizard::CreateHelpFiles() {
    std::string CompilerOutput;
    bool WinHelpCompileFailed = false;
    bool FormHasHelp = false;
    std::string OutputPath;
    std::string Ver;
    ErrorScope scope("frmWizard", "CreateHelpFiles");
    scope.moduleVariables(*this).locals({watch("CompilerOutput", CompilerOutput),
                                         watch("WinHelpCompileFailed", WinHelpCompileFailed),
                                         watch("FormHasHelp", FormHasHelp), watch("OutputPath", OutputPath),
                                         watch("Ver", Ver)});
    scope.run([&] {
        ModMain& s = settings_;
        controls::BusyWindow& busy = *s.Busy;
        const std::shared_ptr<NameList> languages = s.SelectedLanguages;
        scope.step([&] {
            busy.SetTitle("Creating Help files");
            busy.SetMessage("Initialising");
            busy.SetShowProgress(true);
            busy.SetMax(languages->Count());
            busy.SetMin(0);
            busy.SetValue(0);
            busy.SetOwner(this);
            busy.Show();
        });
        // One compile of the project at a time writes its output folder; a second one waits.
        std::optional<CompileLock> lock;
        if (!compileLockHeld_ && !takeCompileLock(scope, lock))
            return;
        endDataFileCheck(); // a run compares the records as it leaves them
        scope.step([&] { CheckFormsExist(); });
        std::optional<ProducedFiles> produced;
        scope.step([&] { produced.emplace(s, HelpOutputLayout(VBP()->FileName(), VBP()->Name(), VBP()->codePage())); });
        compileNotes_.clear();
        keptHelpFiles_.clear();
        ErrorScope::ignoringFailures([&] {
            const HelpOutputLayout layout(VBP()->FileName(), VBP()->Name(), VBP()->codePage());
            compileNotes_ = layout.renamingNotes({languages->begin(), languages->end()});
        });

        if (s.mCompileHTML) {
            // As an installer would have: our compiler front end answers the lookup unless
            // the user set an association of their own.
            ErrorScope::ignoringFailures([] { registerHtmlHelpCompiler(); });
            scope.step([&] { mCompilerPath = GetCompilerPath(true); });
            if (mCompilerPath.empty())
                scope.step([&] { msgBox(136, vbExclamation + vbOKOnly, 137); });
        }
        if (s.mCompileWinHelp) {
            scope.step([&] { mHPJCompilerPath = GetCompilerPath(false); });
            if (mHPJCompilerPath.empty())
                scope.step([&] {
                    controls::WindowSystem::get().MsgBox(LoadResString(142) + winHelpNotCompiledNote(),
                                                         vbExclamation + vbOKOnly, LoadResString(143));
                });
        }

        // Later languages get their topics made on another thread while earlier ones are
        // written and compiled (TopicsAhead.h); the thread ends with the run, however it ends.
        topicsAhead_ = std::make_unique<TopicsAhead>();
        struct EndOfRun {
            std::unique_ptr<TopicsAhead>& ahead;
            ~EndOfRun() { ahead.reset(); }
        } endOfRun{topicsAhead_};

        int32_t k = 1;
        for (const std::string& Language : *languages) {
            scope.step([&] {
                busy.SetMessage("Creating " + Language + " language Help file (" + std::to_string(k) + " of " +
                                std::to_string(languages->Count()) + ")");
            });
            CompilerOutput.clear();
            WinHelpCompileFailed = false;
            scope.step([&] { CreateSingleHelpFile(Language, CompilerOutput, WinHelpCompileFailed); });
            if (s.mCompileWinHelp && WinHelpCompileFailed &&
                msgBox(148, vbYesNo + vbExclamation, 149) != vbYes) {
                syncHelpProjects(scope);
                busy.Hide();
                showPendingNotes(scope);
                return;
            }
            // Output exists without compiling only when the popup file lost characters.
            if ((s.mCompileHTML || !CompilerOutput.empty()) && hasCompilerMessages(CompilerOutput) &&
                !showCompilerMessages(scope, CompilerOutput)) {
                syncHelpProjects(scope);
                busy.Hide();
                showPendingNotes(scope);
                return;
            }
            scope.step([&] { busy.SetValue(k); });
            k = k + 1;
        }
        topicsAhead_.reset(); // the thread has ended before the records change again
        // The save that follows the run (the compile command) has its data file compared from here,
        // while the files are flushed and the control properties set (DataFileCheckAhead.h).
        startDataFileCheck();
        syncHelpProjects(scope);

        scope.step([&] { busy.SetMessage("Updating Control properties"); });
        updateControlProperties(scope, FormHasHelp);
        if (!writeRunResults(scope, OutputPath, Ver)) {
            busy.Hide();
            showPendingNotes(scope);
            return;
        }
        scope.step([&] { busy.Hide(); });
        showPendingNotes(scope);

        const std::vector<std::filesystem::path> missing = produced ? produced->missing() : std::vector<std::filesystem::path>();
        // "Compiled" only when every format generated was compiled.
        const bool htmlCompiled = s.mCompileHTML && !mCompilerPath.empty();
        const bool winHelpCompiled = s.mCompileWinHelp && !mHPJCompilerPath.empty();
        const bool compiled = missing.empty() && (s.mGenerateHTML || s.mGenerateWinHelp) &&
                              (!s.mGenerateHTML || htmlCompiled) && (!s.mGenerateWinHelp || winHelpCompiled);
        scope.step([&] {
            std::string prompt = runSummary(languages->Count(), compiled) + " '" + OutputPath + "'";
            if (missing.empty())
                prompt += notCompiledNote(s, htmlCompiled, winHelpCompiled);
            else
                prompt += producedList(produced->delivered(), missing, OutputPath);
            if (!keptHelpFiles_.empty())
                prompt += keptList(keptHelpFiles_);
            controls::WindowSystem::get().MsgBox(prompt, (missing.empty() ? vbInformation : vbExclamation) + vbOKOnly,
                                                 LoadResString(139));
        });
    });
}

// Takes the project's compile lock into `lock`, telling in the busy window while another
// compile holds it; false, after telling the user, when the wait ended without it.
bool FrmWizard::takeCompileLock(ErrorScope& scope, std::optional<CompileLock>& lock) {
    controls::BusyWindow& busy = *settings_.Busy;
    try {
        const HelpOutputLayout layout(VBP()->FileName(), VBP()->Name(), VBP()->codePage());
        lock.emplace(CompileLock::take(platform::pathFromUtf8(layout.outputFolder()), [&busy](const std::string& holder) {
            busy.SetMessage("Waiting for another compile of this project to end (" + holder + ")");
        }));
        return true;
    } catch (const VbError& error) {
        scope.step([&] { busy.Hide(); });
        scope.step([&] {
            controls::WindowSystem::get().MsgBox(error.description(), vbExclamation + vbOKOnly, "Creating Help files");
        });
        return false;
    }
}

// The files of the run's help projects are committed without a flush each (a journal commit
// per file would cost more than writing them): one flush of the file system makes them all
// durable at once, whichever way the run ends after generating.
void FrmWizard::syncHelpProjects(ErrorScope& scope) {
    scope.step([&] {
        const std::string folder = HelpOutputLayout(VBP()->FileName(), VBP()->Name(), VBP()->codePage()).projectFolder();
        syncFileSystem(platform::pathFromUtf8(folder.empty() ? std::string(".") : folder));
    });
}

// Tells the user that the compiler complained and shows its log; true when the user wants
// the run to go on.
bool FrmWizard::showCompilerMessages(ErrorScope& scope, const std::string& CompilerOutput) {
    scope.step([&] { msgBox(150, vbExclamation + vbOKOnly, 151); });
    std::string notes = std::exchange(compileNotes_, std::string());
    showCompileLog(scope, notes + CompilerOutput);
    return scope.value([&] { return msgBox(152, vbYesNo + vbQuestion, 153) == vbYes; });
}

// The compile log window, modal, showing `text`.
void FrmWizard::showCompileLog(ErrorScope& scope, const std::string& text) {
    scope.step([&] {
        auto log = controls::Form::create<FrmCompileLog>();
        log->txtLogText().SetText(text);
        log->Show(controls::vbModal, this);
        if (log->loaded())
            log->Unload();
    });
}

// What the run changed on its own and no compile log has shown yet.
void FrmWizard::showPendingNotes(ErrorScope& scope) {
    if (!compileNotes_.empty())
        showCompileLog(scope, std::exchange(compileNotes_, std::string()));
}

// Context numbers into the controls, and each module's popup-help flag into its component.
// What must change is looked for first, on several threads, without changing anything: on a
// project compiled before, nothing does, and only the flags are looked at one by one.
void FrmWizard::updateControlProperties(ErrorScope& scope, bool& FormHasHelp) {
    auto project = VBP();
    if (!Forms || !FormNames)
        throw VbError(vberr::ObjectNotSet);
    const std::vector<ModuleUpdate> updates = findControlUpdates(*Forms);
    const ComponentsByName components = componentsByName(*project);
    for (int32_t x = 1; x <= Forms->Count(); ++x) {
        const ModuleUpdate& update = updates[static_cast<size_t>(x - 1)];
        FormHasHelp = update.hasHelp;
        for (HelpItem* record : update.changed) {
            if (record->hasText()) { // the check of HasHelpText, which cannot fail
                scope.step([&] { setContextNumber(*record->Control(), record->ContextHelpID); });
            } else {
                scope.step([&] { setContextNumber(*record->Control(), 0); });
                if (record->ContextHelpID != 0) {
                    endDataFileCheck(); // it reads the records
                    record->ContextHelpID = 0;
                }
            }
        }
        const std::string& name = FormNames->Item(x);
        // A component whose file could not be read has no properties to set, and a module kept
        // for its text whose designer is gone has no component.
        if (unreadableComponents_.Contains(name) ||
            std::ranges::find(scanResult_.keptModules, name) != scanResult_.keptModules.end())
            continue;
        scope.step([&] {
            const auto known = components.find(name);
            auto component = known != components.end() ? known->second : project->VBComponents().Item(name);
            // Read from the summary: the property set is built only when the flag must change.
            std::optional<Variant> flag = component->whatsThisHelp();
            if (flag && !(*flag == Variant(FormHasHelp)))
                component->setWhatsThisHelp(FormHasHelp);
        });
    }
}

// The project's components by name, the first of a name as VBComponents.Item finds it: looked
// up once each instead of a walk of the project per module. Empty when a name cannot be had;
// each module's step then looks its component up itself, and reports what fails.
FrmWizard::ComponentsByName FrmWizard::componentsByName(vbide::VBProject& project) {
    ComponentsByName components;
    try {
        for (const auto& component : project.VBComponents())
            components.try_emplace(component->Name(), component);
    } catch (...) {
        components.clear();
    }
    return components;
}

// For every module in order: whether a record with a control has help text, and the records
// whose control shows another number than the run gives it (its own, or 0 without text) or that
// keep a number without text. Reads the records and the controls' summaries only.
std::vector<FrmWizard::ModuleUpdate> FrmWizard::findControlUpdates(const ModuleRecords& forms) {
    std::vector<ModuleUpdate> updates(static_cast<size_t>(forms.Count()));
    forEachInParallel(updates.size(), [&](size_t index) {
        ModuleUpdate& update = updates[index];
        const HelpItems& records = *forms.Item(static_cast<int32_t>(index) + 1);
        forEachRecord(records, RecordParts::ControlsAndTexts, [&](const std::shared_ptr<HelpItem>& record) {
            if (!record->Control())
                return;
            const bool text = record->hasText();
            update.hasHelp = update.hasHelp || text;
            const std::optional<int32_t> shown = record->Control()->whatsThisHelpID();
            if ((shown && *shown != (text ? record->ContextHelpID : 0)) || (!text && record->ContextHelpID != 0))
                update.changed.push_back(record.get());
        });
    });
    return updates;
}

// What the run decided goes to disk in an order that never leaves a number in one file that
// another file disagrees with: first the data file, which records every number the help
// files use (a scan keeps a recorded number for a control whose form does not show it yet);
// then the forms; then the primary language's help file beside the project; last the project
// file with its help file setting. A step that fails or that the user declines ends the run
// before the steps after it (false).
bool FrmWizard::writeRunResults(ErrorScope& scope, std::string& OutputPath, std::string& Ver) {
    controls::BusyWindow& busy = *settings_.Busy;
    bool done = false;
    scope.step([&] {
        busy.SetMessage("Saving Help data");
        done = writeDataFile();
    });
    if (!done) {
        compileNotes_ += "The help data was not saved, so the context numbers of this run were not written into "
                         "the project's forms.\n";
        return false;
    }
    done = false;
    scope.step([&] {
        busy.SetMessage("Saving the project's forms");
        VBP()->save();
        done = true;
    });
    if (!done)
        return false;
    placePrimaryHelpFiles(scope, OutputPath, Ver);
    done = false;
    scope.step([&] {
        VBP()->save();
        done = true;
    });
    return done;
}

// The primary language's compiled help files beside the project, registered with the system
// and named in the project's help file setting. A help file the run did not produce leaves the
// one beside the project from an earlier run, and the setting, as they are.
void FrmWizard::placePrimaryHelpFiles(ErrorScope& scope, std::string& OutputPath, std::string& Ver) {
    auto project = VBP();
    const HelpOutputLayout layout(project->FileName(), project->Name(), project->codePage());
    OutputPath = layout.outputFolder();
    Ver = Utilities::GetToken(mVBE->Version(), ".", 1);
    const std::string& dir = layout.projectFolder();

    auto place = [&](HelpOutputFile compiled, const char* registryKey) {
        const std::filesystem::path besideProject = platform::pathFromUtf8(layout.besideProject(compiled));
        const std::filesystem::path built =
            platform::pathFromUtf8(layout.languageFile(settings_.mPrimaryLanguage, compiled));
        std::error_code error;
        if (!std::filesystem::is_regular_file(built, error)) {
            if (std::filesystem::is_regular_file(besideProject, error))
                keptHelpFiles_.push_back(besideProject);
            return;
        }
        // The copy replaces the file whole: a failure leaves the one there as it was.
        ErrorScope::ignoringFailures([&] { CopyFile(built, besideProject); });
        scope.step([&] {
            registry().SetValue(RegistryRoot::LocalMachine, registryKey,
                                HelpOutputLayout::fileName(compiled, layout.projectName()), dir, REG_SZ);
        });
        scope.step([&] { project->SetHelpFile(layout.helpFileSetting(compiled, settings_.mPrimaryLanguage)); });
    };
    // The version 5 IDE knows no HTML Help.
    if (Val(Ver) > 5 && settings_.mCompileHTML)
        place(HelpOutputFile::HtmlHelp, "Software\\Microsoft\\Windows\\HTML Help");
    if (settings_.mCompileWinHelp)
        place(HelpOutputFile::WinHelp, "Software\\Microsoft\\Windows\\Help");
}

} // namespace corvane
