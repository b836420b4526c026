// CodePageProjects: small VB6 projects saved as the Windows of each code page would save them,
// made in a temporary folder with the iconv program (not with the program's own conversion, so
// that the tests compare against an independent encoder; Windows lacks it, and there the
// system's code pages encode).
//
// Each project holds a form "frmMain" whose caption, buttons, label (its caption in the .frx
// file) and list box (its entries in the .frx file) carry the language's text, a module with a
// comment in it, and a project name in the language. The project of names has a control name
// of double-byte characters whose second byte is a backslash, and such a project name.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvane::test {

// One language's project, its texts in UTF-8.
struct CodePageProject {
    int codePage = 1252;
    std::string iconvName;   // the code page's name for iconv
    std::string language;    // the help language of that code page (languagecodes.txt)
    std::string projectName; // Name= of the project file
    std::string formCaption;
    std::string openCaption;   // cmdOpen
    std::string cancelCaption; // the cancel button
    std::string cancelName;    // the cancel button's control name ("cmdCancel" unless the names project)
    std::string labelCaption;  // lblAddress, kept in the .frx file
    std::vector<std::string> listEntries; // lstItems, kept in the .frx file
    std::string comment;                  // a comment line of the code
};

// The thirteen languages' projects (874, 932, 936, 949, 950, 1250, 1251, 1253 to 1258).
const std::vector<CodePageProject>& codePageProjects();
// The Japanese project whose project name and a control name hold double-byte characters with
// a backslash as second byte.
const CodePageProject& doubleByteNamesProject();

// The UTF-8 text converted by iconv into the project's code page (by the system's code pages
// on Windows, which has no iconv).
std::string encodedWithIconv(const std::string& utf8, const std::string& iconvName);

// The files of the project as VB6 saves them: their bytes by file name ("Project.vbp",
// "frmMain.frm", "frmMain.frx", "modMain.bas").
std::vector<std::pair<std::string, std::string>> codePageProjectFiles(const CodePageProject& project);
// Writes the project into `folder` (made when missing); returns the project file's path.
std::filesystem::path writeCodePageProject(const CodePageProject& project, const std::filesystem::path& folder);

// A project whose only text beyond ASCII is the names of its files: the project file names a
// form and a module in the code page's bytes, the files on disk carry the names as the system
// spells them (UTF-8), and the files themselves are ASCII.
struct FileNamesProject {
    int codePage = 1252;
    std::string iconvName;
    std::string formFile;   // the form's file name ("卓球.frm"), its form "frmGame"
    std::string moduleFile; // the module's file name, its module "modGame"
};

// The Japanese, Chinese (Simplified and Traditional) and Arabic projects of file names.
const std::vector<FileNamesProject>& fileNamesProjects();
// Writes the project into `folder` (made when missing); returns the project file's path. The
// form has one command button, cmdStart.
std::filesystem::path writeFileNamesProject(const FileNamesProject& project, const std::filesystem::path& folder);

} // namespace corvane::test
