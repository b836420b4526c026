// frmWizard: the help projects of one language (CreateSingleHelpFile).
//
// Files of a language go to <project dir>/Corvane/<Language>/: the text-popup file and the
// HTML Help project, the WinHelp project, its topic document and its map. Controls with help
// text but no context number get the next number here, so every language of one run gives a
// control the same number.
#include "editor/FrmWizard.h"
#include "files/AppPaths.h"
#include "files/FileOperations.h"
#include "generate/ContextNumbering.h"
#include "generate/HelpOutputLayout.h"
#include "generate/HtmlHelpProjectWriter.h"
#include "generate/TopicsAhead.h"
#include "generate/WinHelpProjectWriter.h"
#include "platform/Utf8Path.h"
#include "settings/ModMain.h"
#include "text/LanguageTable.h"
#include "text/TextCodec.h"
#include "vbide/VBControl.h"
#include "vbide/VBProject.h"
#include "vbruntime/Utilities.h"

#include <atomic>
#include <limits>
#include <optional>

namespace corvane {

namespace {

template <typename T>
NamedValue writerValue(std::string name, const std::optional<T>& writer, std::string_view typeName) {
    return {std::move(name), [&writer, typeName] {
                return writer ? Variant::object(std::string(typeName)) : Variant::nothing();
            }};
}

// "'cmdBig' of 'frmMain'" for the control whose record holds `number` when it is the largest
// a Long holds (the one a refused number names); "" otherwise or when no record holds it.
std::string holderOf(const ModuleRecords& forms, int32_t number) {
    if (number != std::numeric_limits<int32_t>::max())
        return {};
    for (const auto& records : forms)
        for (const auto& record : *records)
            if (record->ContextHelpID == number)
                return "'" + record->ControlName.str() + "' of '" + record->ComponentName.str() + "'";
    return {};
}

} // namespace

void FrmWizard::CreateSingleHelpFile(const std::string& Language, std::string& HTMLCompilerOutput,
                                     bool& WinHelpCompileFailed) {
    std::string ProjectName;
    std::string OutputPath; // the language's folder, ending in its separator
    std::optional<WinHelpProjectWriter> WinHelp;
    std::optional<HtmlHelpProjectWriter> HTMLHelp;
    ErrorScope scope("frmWizard", "CreateSingleHelpFile");
    scope.moduleVariables(*this)
        .parameters({watch("Language", Language), watch("HTMLCompilerOutput", HTMLCompilerOutput),
                     watch("WinHelpCompileFailed", WinHelpCompileFailed)})
        .locals({watch("ProjectName", ProjectName), watch("OutputPath", OutputPath),
                 writerValue("WinHelp", WinHelp, "WinHelpProjectWriter"),
                 writerValue("HTMLHelp", HTMLHelp, "HtmlHelpProjectWriter")});
    scope.run([&] {
        const ModMain& s = settings_;
        // A language without a code page of its own writes in the project's.
        int projectCodePage = WindowsLatin1;
        ErrorScope::ignoringFailures([&] { projectCodePage = VBP()->codePage(); });
        const LanguageInfo language = LanguageTable::installed().forProject(Language, projectCodePage);

        // Step 1: the WinHelp templates are read before anything is written.
        if (s.mGenerateWinHelp) {
            WinHelp.emplace();
            scope.step([&] { WinHelp->readTemplates(dataDirectory(), language.codePage, language.lcid); });
        }

        // Step 2: the output folders; failures show later, when a file cannot be written.
        std::string projectFile;
        scope.step([&] {
            auto project = VBP();
            projectFile = project->FileName();
            ProjectName = project->Name();
        });
        const HelpOutputLayout layout(projectFile, ProjectName, projectCodePage);
        ProjectName = layout.languageProjectName(Language); // the name the language's code page holds
        OutputPath = layout.languageFolder(Language);
        ErrorScope::ignoringFailures([&] { CreateFolder(platform::pathFromUtf8(layout.outputFolder() + "/")); });
        ErrorScope::ignoringFailures([&] { CreateFolder(platform::pathFromUtf8(OutputPath)); });

        // Step 3: open the projects.
        // Their files are flushed to disk together at the end of the run (CreateHelpFiles).
        if (WinHelp)
            scope.step([&] { WinHelp->open(OutputPath, ProjectName, Durability::Deferred); });
        if (s.mGenerateHTML)
            scope.step([&] { HTMLHelp.emplace(OutputPath, ProjectName, language.codePage, Durability::Deferred); });

        // Step 4: every record with help text gets its context number, in the order of Forms
        // (only the first language finds records without one; once the thread ahead has
        // started, every record has its number).
        if (!Forms)
            throw VbError(vberr::ObjectNotSet);
        const bool allNumbered = (topicsAhead_ && topicsAhead_->started()) || numberRecords(scope);

        // Step 5: the topics of every record, from the records as they now are. The topic
        // document and the popup file are written as the topics are made (where that fails,
        // the topics are made in memory, and each file reports its own failure when it is
        // written). Once every record has its number, another thread starts on the topics of
        // this language and those after it (TopicsAhead.h), from the last: this one takes
        // what that thread made and makes the rest itself.
        TopicRecipe recipe;
        if (WinHelp) {
            recipe.topicTemplate = WinHelp->topicTemplate();
            recipe.rtfCodePage = WinHelp->codePage();
            recipe.documentFile = layout.languageFile(Language, HelpOutputFile::WinHelpTopics);
            recipe.documentStart = WinHelp->documentStart();
        }
        if (HTMLHelp) {
            recipe.popupCodePage = language.codePage;
            recipe.popupFile = HTMLHelp->popupFile();
        }
        if (allNumbered)
            startTopicsAhead(Language, recipe, WinHelp ? &*WinHelp : nullptr);
        std::optional<TopicsAhead::Topics> topics;
        if (topicsAhead_)
            topics = topicsAhead_->take(Language, recipe, TopicsAhead::NotBegun::MakeHere);
        const std::atomic<bool> never{false};
        if (!topics)
            ErrorScope::ignoringFailures([&] {
                topics = TopicsAhead::make(*Forms, Language, recipe, never, TopicsAhead::Unnumbered::Write);
            });
        if (!topics) {
            TopicRecipe inMemory = recipe;
            inMemory.documentFile = inMemory.popupFile = std::string();
            topics = scope.value(
                [&] { return TopicsAhead::make(*Forms, Language, inMemory, never, TopicsAhead::Unnumbered::Write); });
        }
        if (topics && WinHelp && topics->winHelp)
            scope.step([&] { WinHelp->addTopics(std::move(*topics->winHelp), std::move(topics->document)); });
        if (topics && HTMLHelp && topics->popups)
            scope.step([&] { HTMLHelp->addTopics(std::move(*topics->popups), std::move(topics->popupFile)); });

        // Step 6: close the projects.
        if (HTMLHelp) {
            scope.step([&] { HTMLHelp->writePopupFile(); });
            compileNotes_ += HTMLHelp->notes();
        }
        if (WinHelp)
            scope.step([&] { WinHelp->close(); });

        // Step 7: the HTML Help project and its compile. Characters the popup file could not
        // hold join the compile output, so the run shows them in the compile log.
        if (HTMLHelp) {
            scope.step([&] { HTMLHelp->writeProject(dataDirectory() / "template.hhp", language.lcid); });
            if (!mCompilerPath.empty() && s.mCompileHTML)
                scope.step([&] { HTMLCompilerOutput = HTMLHelp->compile(mCompilerPath, s.compilerRunLimits()); });
            HTMLCompilerOutput += HTMLHelp->encodingWarnings();
        }

        // Step 8: the WinHelp compile.
        if (WinHelp && !mHPJCompilerPath.empty() && s.mCompileWinHelp)
            scope.step([&] {
                if (!WinHelp->compile(mHPJCompilerPath, s.compilerRunLimits()))
                    WinHelpCompileFailed = true;
                compileNotes_ += WinHelp->stopNote();
            });
    });
}

// Gives every record with a control and help text that has no context number the next one:
// the number goes into the control and the record. True when no such record is left without a
// number (a step the user skipped can leave one).
bool FrmWizard::numberRecords(ErrorScope& scope) {
    bool allNumbered = true;
    for (const auto& records : *Forms) {
        forEachRecord(*records, RecordParts::Texts, [&](const std::shared_ptr<HelpItem>& record) {
            // The check of HasHelpText, which cannot fail: no error handling per record.
            if (!record->Control() || record->ContextHelpID != 0 || !record->hasText())
                return;
            endDataFileCheck(); // it reads the records
            scope.step([&] {
                mHighestID = nextContextNumber(mHighestID, record->ComponentName, record->ControlName,
                                               holderOf(*Forms, mHighestID));
            });
            scope.step([&] {
                record->Control()->setWhatsThisHelpID(mHighestID);
            });
            scope.step([&] { record->ContextHelpID = mHighestID; });
            allNumbered = allNumbered && record->ContextHelpID != 0;
        });
    }
    return allNumbered;
}

// Once a language has numbered the records, they all have their numbers: the topics of this
// language and the ones after it are made on another thread too, from the last, while this one
// makes its own (with `recipe`), writes and compiles them.
void FrmWizard::startTopicsAhead(const std::string& Language, const TopicRecipe& recipe,
                                 const WinHelpProjectWriter* winHelp) {
    if (!topicsAhead_ || topicsAhead_->started() || !settings_.SelectedLanguages)
        return;
    // Nothing here may fail the run: the languages then walk the records themselves.
    ErrorScope::ignoringFailures([&] {
        std::vector<std::pair<std::string, TopicRecipe>> ahead;
        bool after = false;
        const HelpOutputLayout layout(VBP()->FileName(), VBP()->Name(), VBP()->codePage());
        for (const std::string& name : *settings_.SelectedLanguages) {
            if (name == Language) {
                ahead.emplace_back(name, recipe);
                after = true;
            } else if (after) {
                TopicRecipe theirs = recipe;
                const int codePage = LanguageTable::installed().forProject(name, VBP()->codePage()).codePage;
                if (theirs.popupCodePage) {
                    theirs.popupCodePage = codePage;
                    theirs.popupFile = layout.languageFile(name, HelpOutputFile::Popups);
                }
                if (winHelp) {
                    theirs.rtfCodePage = winHelp->codePageFor(codePage);
                    theirs.documentFile = layout.languageFile(name, HelpOutputFile::WinHelpTopics);
                    theirs.documentStart = winHelp->documentStartFor(codePage);
                }
                ahead.emplace_back(name, std::move(theirs));
            }
        }
        topicsAhead_->start(Forms, std::move(ahead));
    });
}

} // namespace corvane
