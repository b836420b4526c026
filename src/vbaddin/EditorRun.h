// EditorRun: the desktop program run on a project while the IDE waits, painting but closed
// to the developer's input.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::vbaddin {

// The program a click runs: CORVANE_ADDIN_EDITOR where set (the tests put a stand-in there),
// otherwise corvane-gui.exe in the folder of `module` (the add-in's DLL).
std::wstring editorProgram(HMODULE module);

// The command line that runs `program` with the arguments `edit` and `project`, quoted as
// the C run time splits it again.
std::wstring editorCommandLine(const std::wstring& program, const std::wstring& project);

// Runs `program` on `project` in the project's folder and waits until it ends, with
// `ideWindow` (may be null) disabled and the thread's other messages but user input handled,
// so that the IDE keeps painting. Returns an empty text, or why the program did not start.
std::wstring runEditor(const std::wstring& program, const std::wstring& project, HWND ideWindow);

} // namespace corvane::vbaddin
