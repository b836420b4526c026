// AddinHarness: the add-in DLL registered for the test's user and created through COM by its
// ProgID, as the IDE creates it; a real IDE main window; message boxes read and answered.
#pragma once

#include "vbaddin/Extensibility.h"

#include <windows.h>

#include <filesystem>
#include <string>

namespace corvane::vbaddin::testing {

// The DLL registered (DllRegisterServer) while the harness lives, then unregistered.
class AddinHarness {
public:
    AddinHarness();
    ~AddinHarness();
    AddinHarness(const AddinHarness&) = delete;
    AddinHarness& operator=(const AddinHarness&) = delete;

    // A new connect object made by COM from the ProgID (null, with a test failure, if none).
    IExtensibility2* create();
    // The IDE's main window (hidden).
    HWND window() const { return window_; }
    // Clock ticks the window got while it was disabled, and while enabled, since the last reset.
    static int& disabledTicks();
    static int& enabledTicks();

private:
    HMODULE library_ = nullptr;
    HWND window_ = nullptr;
    bool mirrored_ = false;
};

// What a message box showed: its title and text; empty when none came within the time.
struct ShownMessage {
    std::wstring title, text;
};

// Watches, on a thread of its own, for a message box titled `title` and answers it with OK.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(std::wstring title);
    ~MessageBoxAnswer();
    // Waits for the watch to end and returns what the box showed.
    ShownMessage shown();

private:
    struct State;
    State* state_;
};

// A fresh empty folder under the system's temporary folder, removed with the object.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace corvane::vbaddin::testing
