#include "vb6addin/AddinHarness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace corvane::vbaddin::testing {

namespace {

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        ++(::IsWindowEnabled(window) ? AddinHarness::enabledTicks() : AddinHarness::disabledTicks());
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND makeWindow() {
    WNDCLASSW kind{};
    kind.lpfnWndProc = windowProcedure;
    kind.hInstance = ::GetModuleHandleW(nullptr);
    kind.lpszClassName = L"CorvaneFakeIdeWindow";
    ::RegisterClassW(&kind);
    // A message-only window: it is enabled, disabled and gets timer messages like the IDE's
    // main window, without a window on the screen.
    return ::CreateWindowExW(0, kind.lpszClassName, L"Fake IDE", 0, 0, 0, 0, 0, HWND_MESSAGE,
                             nullptr, kind.hInstance, nullptr);
}

using ServerEntry = HRESULT(STDAPICALLTYPE*)();

// The class keys the add-in registers for the current user. Windows shows them in
// HKEY_CLASSES_ROOT, where COM looks; Wine does not merge the user's classes in, so there the
// harness copies them to the machine's classes for the test's time.
const wchar_t* const userClassKeys[] = {L"Corvane.Wizard", L"CLSID\\{6F1B6D52-3C1E-4E8A-9B57-2D0C4A7E31C5}"};

bool classesRootShowsUserClasses() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, userClassKeys[0], 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

// Copies (or, with `copy` false, removes) the user's class keys in the machine's classes.
void mirrorUserClasses(bool copy) {
    for (const wchar_t* name : userClassKeys) {
        std::wstring machine = std::wstring(L"Software\\Classes\\") + name;
        if (!copy) {
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, machine.c_str());
            continue;
        }
        HKEY from = nullptr, to = nullptr;
        std::wstring user = std::wstring(L"Software\\Classes\\") + name;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, user.c_str(), 0, KEY_READ, &from) == ERROR_SUCCESS &&
            ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, machine.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &to,
                              nullptr) == ERROR_SUCCESS)
            ::RegCopyTreeW(from, nullptr, to);
        ::RegCloseKey(from);
        ::RegCloseKey(to);
    }
}

ServerEntry entryOf(HMODULE library, const char* name) {
    return reinterpret_cast<ServerEntry>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

} // namespace

int& AddinHarness::disabledTicks() {
    static int ticks = 0;
    return ticks;
}

int& AddinHarness::enabledTicks() {
    static int ticks = 0;
    return ticks;
}

AddinHarness::AddinHarness() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    library_ = ::LoadLibraryW(std::filesystem::path(CORVANE_VB6ADDIN_DLL).wstring().c_str());
    EXPECT_NE(library_, nullptr) << "cannot load " << CORVANE_VB6ADDIN_DLL;
    if (library_) {
        ServerEntry registration = entryOf(library_, "DllRegisterServer");
        EXPECT_NE(registration, nullptr);
        if (registration) {
            EXPECT_EQ(registration(), S_OK);
        }
        mirrored_ = !classesRootShowsUserClasses();
        if (mirrored_)
            mirrorUserClasses(true);
    }
    window_ = makeWindow();
}

AddinHarness::~AddinHarness() {
    if (mirrored_)
        mirrorUserClasses(false);
    if (library_) {
        if (ServerEntry removal = entryOf(library_, "DllUnregisterServer")) {
            EXPECT_EQ(removal(), S_OK);
        }
        ::FreeLibrary(library_);
    }
    ::DestroyWindow(window_);
    ::CoUninitialize();
}

IExtensibility2* AddinHarness::create() {
    CLSID classId{};
    HRESULT found = ::CLSIDFromProgID(L"Corvane.Wizard", &classId);
    EXPECT_EQ(found, S_OK) << "the ProgID is not registered";
    IExtensibility2* addin = nullptr;
    HRESULT made = ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IidExtensibility2,
                                      reinterpret_cast<void**>(&addin));
    EXPECT_EQ(made, S_OK);
    return addin;
}

struct MessageBoxAnswer::State {
    std::wstring title;
    ShownMessage shown;
    std::thread watcher;
};

namespace {

BOOL CALLBACK collectStaticText(HWND child, LPARAM into) {
    wchar_t kind[32] = {}, text[1024] = {};
    ::GetClassNameW(child, kind, 32);
    if (::lstrcmpiW(kind, L"Static") == 0 && ::GetWindowTextW(child, text, 1024) > 0)
        *reinterpret_cast<std::wstring*>(into) += text;
    return TRUE;
}

} // namespace

MessageBoxAnswer::MessageBoxAnswer(std::wstring title) : state_(new State{std::move(title), {}, {}}) {
    state_->watcher = std::thread([state = state_] {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < end) {
            if (HWND box = ::FindWindowW(L"#32770", state->title.c_str())) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100)); // its controls in place
                state->shown.title = state->title;
                ::EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&state->shown.text));
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
}

MessageBoxAnswer::~MessageBoxAnswer() {
    if (state_->watcher.joinable())
        state_->watcher.join();
    delete state_;
}

ShownMessage MessageBoxAnswer::shown() {
    if (state_->watcher.joinable())
        state_->watcher.join();
    return state_->shown;
}

TemporaryFolder::TemporaryFolder() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    path_ = std::filesystem::path(base) /
            (L"corvane vb6 add-in \u00e9 " + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(::GetTickCount()));
    std::filesystem::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace corvane::vbaddin::testing
