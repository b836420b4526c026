// HelpOutputLayout: where a project's generated help files go and what they are called.
//
// Every language's files go to the folder "Corvane/<Language>/" beside the project file, each
// named after the project: the HTML Help popup file "<Name>_ContextTopics.txt", its project
// "<Name>_Context.hhp" and compiled file "<Name>_Context.chm"; the WinHelp project
// "<Name>_Context.hpj", topic document "<Name>_ContextTopics.rtf", map "<Name>.h" and help
// file "<Name>_Context.hlp". The primary language's compiled files are copied beside the
// project under the same names. The writers, the creation run and the command line all ask
// here, so that they cannot disagree on a name.
// The project's name and the language's name come from the project's files: each is made
// safe first (SafeFileName.h; the project's name as the start of its files' names), so that no
// generated file lands outside the project's "Corvane" folder, on a device, or beside the
// project under a name it does not own.
//
// Inside a language's help project the name is written in the language's ANSI code page; a
// project name that code page cannot hold ("受注管理" in a help project in Windows-1252) gives
// that language's files a name it can hold: the project file's base name, else "Project". The
// copies beside the project keep the project's own name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The files one language's generation writes.
enum class HelpOutputFile {
    Popups,        // "<Name>_ContextTopics.txt"
    HtmlProject,   // "<Name>_Context.hhp"
    HtmlHelp,      // "<Name>_Context.chm"
    WinHelpProject, // "<Name>_Context.hpj"
    WinHelpTopics, // "<Name>_ContextTopics.rtf"
    WinHelpMap,    // "<Name>.h"
    WinHelp,       // "<Name>_Context.hlp"
};

class HelpOutputLayout {
public:
    // The name of the folder beside the project that holds a folder per language.
    static constexpr std::string_view OutputFolderName = "Corvane";

    // The layout of the project saved as `projectFile` (a full path), named `projectName` and
    // read in `projectCodePage` (which a language without a code page of its own writes in).
    HelpOutputLayout(std::string_view projectFile, std::string projectName, int projectCodePage);

    // The folder of the project file, ending in its separator ("" for a bare file name).
    const std::string& projectFolder() const noexcept { return projectFolder_; }
    // The project's name made a safe file name: every generated file name starts with it.
    const std::string& projectName() const noexcept { return projectName_; }
    // The folder holding the languages' folders: "<project folder>Corvane" (no "/" at the end).
    std::string outputFolder() const;
    // One language's folder: "<project folder>Corvane/<Language>/" (the name made safe), its
    // separators the one that ends the project's folder (a backslash for "C:\VB\Shop.vbp"), so
    // that messages and the WinHelp project name its files in one way.
    std::string languageFolder(std::string_view language) const;
    // The name a language's files give the project: the project's name where the language's
    // code page (languagecodes.txt; the project's for "Neutral") holds it, else the project
    // file's base name where it holds that, else "Project".
    std::string languageProjectName(std::string_view language) const;
    // The full path of one of a language's files.
    std::string languageFile(std::string_view language, HelpOutputFile file) const;
    // The full path of a compiled file's copy beside the project.
    std::string besideProject(HelpOutputFile compiled) const;
    // What the project's help file setting names for a compiled file beside it: the help file,
    // and for HTML Help the popup file inside it ("<Name>_Context.chm::/<Name>_contexttopics.txt",
    // written in lower case as the IDE expects it), named as `language`'s files name it when
    // the compiled file is that language's.
    std::string helpFileSetting(HelpOutputFile compiled, std::string_view language = {}) const;

    // One "Note:" line (ending in a line break) for the project's name and for each of
    // `languages` that had to be mapped to a safe file name; "" when none had to be.
    std::string renamingNotes(const std::vector<std::string>& languages) const;

    // The name, without folder, of a file of the project named `projectName` (made safe).
    static std::string fileName(HelpOutputFile file, std::string_view projectName);
    // A project's name made safe as the start of its files' names (SafeFileName.h), which a
    // suffix always follows: a device name stays ("Con_Context.chm" is none); only the map
    // file "<Name>.h" is mapped as a whole name ("Con_.h").
    static std::string nameStart(std::string_view projectName);

private:
    std::string projectFolder_;
    std::string projectFileStem_;
    std::string projectName_;
    std::string givenName_; // the project's name as its file gives it
    char separator_;        // the separator of the project's folder, for the folders below it
    int projectCodePage_;
};

} // namespace corvane
