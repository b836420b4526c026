// The Windows implementation of ChildProcess.h, over CreateProcessW, an anonymous pipe and a
// job object that holds the child and everything it starts.
#ifdef _WIN32

#include "platform/ChildProcess.h"
#include "platform/WindowsErrors.h"
#include "platform/WindowsText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <windows.h>

namespace corvane::platform {

namespace fs = std::filesystem;

namespace {

// One argument quoted so that the program's C runtime splits it back as it was.
void appendQuoted(std::wstring& line, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    for (size_t i = 0;; ++i) {
        size_t backslashes = 0;
        while (i < argument.size() && argument[i] == L'\\') {
            ++i;
            ++backslashes;
        }
        if (i == argument.size()) {
            line.append(backslashes * 2, L'\\');
            break;
        }
        if (argument[i] == L'"')
            line.append(backslashes * 2 + 1, L'\\');
        else
            line.append(backslashes, L'\\');
        line += argument[i];
    }
    line += L'"';
}

std::wstring commandLineOf(const std::vector<std::string>& arguments) {
    std::wstring line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += L' ';
        appendQuoted(line, wideOf(argument));
    }
    return line;
}

// A handle closed when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    void reset(HANDLE handle = nullptr) {
        if (handle_ && handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_;
};

constexpr int StoppedExitCode = 128 + 9; // as a POSIX child ended by SIGKILL

} // namespace

std::string whyNotRunnable(const fs::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::strerror(errnoOf(::GetLastError()));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return "it is a folder";
    return {};
}

std::vector<fs::path> programSearchPath() {
    // The running program's own folder comes first, as CreateProcess looks there first: the
    // programs shipped with it (hhc.exe beside chmcmd.exe) find each other wherever unpacked.
    std::vector<fs::path> folders;
    if (const fs::path self = currentProgramFile(); !self.empty())
        folders.push_back(self.parent_path());
    const wchar_t* variable = ::_wgetenv(L"PATH");
    std::wstring path = variable ? variable : L"";
    for (size_t start = 0; start <= path.size();) {
        size_t end = std::min(path.find(L';', start), path.size());
        std::wstring dir = path.substr(start, end - start);
        if (!dir.empty())
            folders.emplace_back(dir);
        start = end + 1;
    }
    return folders;
}

bool namesProgramFile(std::string_view name) {
    return name.find_first_of("/\\") != std::string_view::npos || (name.size() > 1 && name[1] == ':');
}

std::vector<fs::path> programFilesFor(const fs::path& name) {
    if (name.has_extension())
        return {name};
    fs::path withExe = name;
    withExe += L".exe";
    return {withExe, name};
}

struct ChildProcess::State {
    Handle process;
    Handle job;
    Handle readEnd;
    bool running = false;
    bool stopped = false;
};

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}

std::unique_ptr<ChildProcess> ChildProcess::start(const fs::path& program, const std::vector<std::string>& arguments,
                                                  const fs::path& workingDirectory, StartFailure& failure, int& error) {
    failure = StartFailure::None;
    error = 0;
    auto state = std::make_unique<State>();
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readHandle = nullptr;
    HANDLE writeHandle = nullptr;
    if (!::CreatePipe(&readHandle, &writeHandle, &inherited, 0)) {
        failure = StartFailure::Pipe;
        error = errnoOf(::GetLastError());
        return nullptr;
    }
    state->readEnd.reset(readHandle);
    Handle writeEnd(writeHandle);
    ::SetHandleInformation(readHandle, HANDLE_FLAG_INHERIT, 0); // only the child's end is passed on
    Handle input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING,
                               0, nullptr));

    state->job.reset(::CreateJobObjectW(nullptr, nullptr));
    if (state->job.get()) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        ::SetInformationJobObject(state->job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION started{};
    std::wstring line = commandLineOf(arguments);
    const std::wstring folder = workingDirectory.empty() ? std::wstring() : workingDirectory.wstring();
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                          CREATE_SUSPENDED | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        failure = StartFailure::Start;
        error = errnoOf(::GetLastError());
        return nullptr;
    }
    if (state->job.get())
        ::AssignProcessToJobObject(state->job.get(), started.hProcess);
    ::ResumeThread(started.hThread);
    ::CloseHandle(started.hThread);
    state->process.reset(started.hProcess);
    state->running = true;
    return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(state)));
    // writeEnd closes here: only the child writes now, so the pipe reports its end
}

ChildProcess::~ChildProcess() {
    if (state_->running) {
        stop();
        waitForExit();
    }
}

bool ChildProcess::readOutput(std::string& out, int waitMilliseconds) {
    HANDLE pipe = state_->readEnd.get();
    if (!pipe)
        return false;
    // Anonymous pipes cannot be waited on: look for output every few milliseconds.
    const ULONGLONG deadline = waitMilliseconds < 0 ? 0 : ::GetTickCount64() + static_cast<ULONGLONG>(waitMilliseconds);
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
            return false; // every writer closed it
        if (available > 0) {
            char buffer[64 * 1024];
            DWORD count = 0;
            if (!::ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &count, nullptr))
                return false;
            out.append(buffer, count);
            return true;
        }
        if (waitMilliseconds >= 0 && ::GetTickCount64() >= deadline)
            return true;
        ::Sleep(5);
    }
}

void ChildProcess::closeOutput() { state_->readEnd.reset(); }

void ChildProcess::stop() {
    state_->stopped = true;
    if (state_->job.get())
        ::TerminateJobObject(state_->job.get(), StoppedExitCode);
    if (state_->process.get())
        ::TerminateProcess(state_->process.get(), StoppedExitCode);
}

std::optional<int> ChildProcess::exitedNow() {
    if (::WaitForSingleObject(state_->process.get(), 0) == WAIT_TIMEOUT)
        return std::nullopt;
    return waitForExit();
}

int ChildProcess::waitForExit() {
    if (!state_->running)
        return -1;
    ::WaitForSingleObject(state_->process.get(), INFINITE);
    DWORD code = 0;
    const bool known = ::GetExitCodeProcess(state_->process.get(), &code);
    state_->running = false;
    return known ? static_cast<int>(code) : -1;
}

int runInstead(const fs::path& program, const std::vector<std::string>& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring line = commandLineOf(arguments);
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT, nullptr,
                          nullptr, &startup, &started))
        return errnoOf(::GetLastError());
    ::CloseHandle(started.hThread);
    ::WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(started.hProcess, &code);
    std::exit(static_cast<int>(code));
}

int shellExitStatus(int status) { return status; }

fs::path currentProgramFile() {
    std::wstring name(32768, L'\0');
    DWORD size = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (size == 0 || size >= name.size())
        return {};
    name.resize(size);
    return fs::path(name);
}

std::optional<bool> trialInChild(int (*)(const void*), const void*, unsigned) { return std::nullopt; }

} // namespace corvane::platform

#endif
