// HelpCompilerRun: running a help compiler on a generated project and judging the result.
//
// A compiler command template (from the compiler lookup) holds "%1" where the project file
// goes. The command line is split into arguments and run without a shell, in the project's
// folder, with the title "Corvane Compilation". No help compiler is judged by its exit code
// (Microsoft's hhc.exe returns 1 on success): what counts is whether the compiled file exists
// afterwards, so the old one is deleted first.
// A compiler runs within limits (a time limit, the busy window's Cancel): one that is stopped
// is ended with everything it started, what it left of the compiled file is deleted, and the
// run says so naming the compiler, so that its language counts as not produced.
#pragma once

#include "process/ProcessRunner.h"

#include <string>
#include <string_view>

namespace corvane {

// The title of the compiler's console window.
inline constexpr std::string_view CompilationTitle = "Corvane Compilation";

// The template with every "%1" (exact match) replaced by `replacement`; a "%1" that the
// template holds in double quotes is replaced together with its quotes.
std::string compilerCommandLine(std::string_view commandTemplate, std::string_view replacement);

// Compiles an HTML Help project: "%1" becomes the quoted project path. Returns the compiler's
// console output, followed by an "Error:" line when the compiler could not be started, was
// stopped (naming it and why), ended by a signal, or left no `compiledFile` behind without
// saying "Error:" itself.
std::string runHtmlHelpCompiler(std::string_view commandTemplate, const std::string& projectFile,
                                const std::string& compiledFile, const RunLimits& limits = {});

// True when the compiler's output holds its own words for trouble, "Warning:" or "Error:"
// (matched exactly as it writes them): the creation run then shows the output to the user.
bool hasCompilerMessages(std::string_view output);

// Compiles a WinHelp project: "%1" becomes " -x " and the quoted project path. The old
// `helpFile` is deleted first; returns true when the compiler left a `helpFile` behind (a
// compiler that cannot be started or was stopped left none). Its output is not read; a
// compiler that was stopped is named in `stopNote` (an "Error:" line; "" otherwise).
bool runWinHelpCompiler(std::string_view commandTemplate, const std::string& projectFile,
                        const std::string& helpFile, const RunLimits& limits, std::string& stopNote);

// The "Error:" line for a compiler (`kind`: "HTML Help", "WinHelp") of `commandLine` that was
// stopped as `why` says, within `limits`, so that `missing` was not produced.
std::string compilerStoppedNote(std::string_view kind, std::string_view commandLine, RunEnd why,
                                const RunLimits& limits, const std::string& missing);

} // namespace corvane
