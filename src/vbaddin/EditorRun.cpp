#include "vbaddin/EditorRun.h"

#include <vector>

namespace corvane::vbaddin {

namespace {

// Appends `argument` quoted so that CommandLineToArgvW and the C run time read it back.
void appendQuoted(std::wstring& line, const std::wstring& argument) {
    line += L'"';
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\'); // before the closing quote
    line += L'"';
}

std::wstring folderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool isUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

std::wstring systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = length ? std::wstring(text, length) : L"error " + std::to_wstring(error);
    ::LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
        result.pop_back();
    return result;
}

// Handles the thread's messages until `process` ends; user input is dropped, everything else
// (painting, timers, the IDE's own posted work) runs.
void waitPainting(HANDLE process) {
    for (;;) {
        DWORD woken = ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1)
            return; // the process ended (or the wait failed: nothing to wait for)
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam)); // for the IDE's own loop
                ::WaitForSingleObject(process, INFINITE);
                return;
            }
            if (isUserInput(message.message))
                continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
            // A window that never validates its area gets WM_PAINT for ever: the end of the
            // process is looked for after every message, not only when the queue runs dry.
            if (::WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
                return;
        }
    }
}

} // namespace

std::wstring editorProgram(HMODULE module) {
    std::vector<wchar_t> value(32768);
    DWORD length = ::GetEnvironmentVariableW(L"CORVANE_ADDIN_EDITOR", value.data(), static_cast<DWORD>(value.size()));
    if (length > 0 && length < value.size())
        return std::wstring(value.data(), length);
    std::vector<wchar_t> name(32768);
    length = ::GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
    std::wstring folder = folderOf(std::wstring(name.data(), length < name.size() ? length : 0));
    return folder.empty() ? L"corvane-gui.exe" : folder + L"\\corvane-gui.exe";
}

std::wstring editorCommandLine(const std::wstring& program, const std::wstring& project) {
    std::wstring line;
    appendQuoted(line, program);
    line += L" edit ";
    appendQuoted(line, project);
    return line;
}

std::wstring runEditor(const std::wstring& program, const std::wstring& project, HWND ideWindow) {
    std::wstring line = editorCommandLine(program, project);
    std::wstring folder = folderOf(project);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return systemMessage(::GetLastError());
    ::CloseHandle(started.hThread);
    bool disabled = ideWindow && ::IsWindowEnabled(ideWindow);
    if (disabled)
        ::EnableWindow(ideWindow, FALSE);
    waitPainting(started.hProcess);
    ::CloseHandle(started.hProcess);
    if (disabled) {
        ::EnableWindow(ideWindow, TRUE);
        if (::IsWindowVisible(ideWindow))
            ::SetForegroundWindow(ideWindow); // the developer goes on where the editor was
    }
    return {};
}

} // namespace corvane::vbaddin
