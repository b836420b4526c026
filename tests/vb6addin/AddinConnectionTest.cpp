// The add-in DLL in a fake VB6 IDE: created through COM by its ProgID, connected in each mode,
// clicked, disconnected; every call it makes on the IDE and the end state are checked.
#include "vb6addin/AddinHarness.h"
#include "vb6addin/FakeIde.h"

#include <gtest/gtest.h>

#include <memory>

namespace corvane::vbaddin::testing {
namespace {

std::wstring text(const VARIANT& value) { return value.vt == VT_BSTR ? value.bstrVal : L"<not a text>"; }

bool flag(const VARIANT& value) { return value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE; }

CallLog tail(const CallLog& log, size_t from) { return CallLog(log.begin() + static_cast<long>(from), log.end()); }

// Connects a fresh add-in in `mode` to an IDE whose menu has entries starting groups as
// `groups` says; checks the new entry; disconnects and checks what is left.
void connectAndDisconnect(AddinHarness& harness, int mode, const std::vector<bool>& groups, bool expectGroup) {
    SCOPED_TRACE("connect mode " + std::to_string(mode) + ", " + std::to_string(groups.size()) + " entries before");
    FakeIde ide(harness.window(), groups);
    IExtensibility2* addin = harness.create();
    ASSERT_NE(addin, nullptr);
    ASSERT_EQ(addin->OnConnection(ide.vbe(), mode, nullptr, nullptr), S_OK);
    if (mode == External) {
        EXPECT_EQ(ide.log, CallLog{}) << "an external connection touches no menu";
    } else {
        ASSERT_EQ(ide.entries().size(), groups.size() + 1);
        FakeMenuEntry& entry = *ide.entries().back();
        std::wstring name = entry.object->name();
        CallLog expected{L"VBE.CommandBars", L"CommandBars.Item(\"Add-Ins\")", L"AddIns.Controls", L"Controls.Add(1)",
                         L"Controls.Count"};
        if (groups.size() >= 2) {
            std::wstring last = std::to_wstring(groups.size()), before = std::to_wstring(groups.size() - 1);
            expected.insert(expected.end(), {L"Controls.Item(" + last + L")", L"Entry" + last + L".BeginGroup"});
            if (groups.back())
                expected.insert(expected.end(),
                                {L"Controls.Item(" + before + L")", L"Entry" + before + L".BeginGroup"});
        }
        if (expectGroup)
            expected.push_back(name + L".BeginGroup=True");
        expected.insert(expected.end(), {name + L".Caption=\"Corvane ...\"", name + L".OnAction=\"hello\"",
                                         name + L".PasteFace", L"VBE.Events", L"Events.CommandBarEvents(" + name + L")",
                                         name + L"Events.EnumConnectionPoints", name + L"Events.GetConnectionInterface",
                                         name + L"Events.Advise"});
        EXPECT_EQ(ide.log, expected);
        EXPECT_EQ(text(entry.caption), L"Corvane ...");
        EXPECT_EQ(flag(entry.beginGroup), expectGroup);
        EXPECT_EQ(entry.pastedFace.cx, 16) << "the icon is the 16 by 16 bitmap on the clipboard";
        EXPECT_EQ(entry.pastedFace.cy, 16);
        ASSERT_TRUE(entry.events && entry.events->advised());
    }
    size_t connected = ide.log.size();
    EXPECT_EQ(addin->OnDisconnection(0, nullptr), S_OK);
    if (mode == External) {
        EXPECT_EQ(tail(ide.log, connected), CallLog{});
    } else {
        FakeMenuEntry& entry = *ide.entries().back();
        std::wstring name = entry.object->name();
        EXPECT_EQ(tail(ide.log, connected), (CallLog{name + L"Events.Unadvise", name + L".Delete"}));
        EXPECT_TRUE(entry.deleted);
        EXPECT_FALSE(entry.events->advised());
    }
    for (size_t i = 0; i + 1 < ide.entries().size(); ++i)
        EXPECT_FALSE(ide.entries()[i]->deleted) << "the IDE's own entries stay";
    addin->Release();
    std::wstring unbalanced;
    EXPECT_TRUE(ide.referencesBalanced(unbalanced)) << "references left or released twice: "
                                                    << std::string(unbalanced.begin(), unbalanced.end());
}

TEST(VbAddinConnection, EachModeInstallsTheEntryOrNoneAndDisconnectionTakesItAway) {
    AddinHarness harness;
    // After start-up, at start-up and from the command line the entry is installed; an entry
    // that ends a group whose start has no group before it starts a group too.
    for (int mode : {AfterStartup, Startup, CommandLine})
        connectAndDisconnect(harness, mode, {false, true}, true);
    connectAndDisconnect(harness, External, {false, true}, false);
    // A menu of fewer than two entries, and one whose last two both start groups: no group.
    connectAndDisconnect(harness, Startup, {}, false);
    connectAndDisconnect(harness, Startup, {true}, false);
    connectAndDisconnect(harness, Startup, {true, true}, false);
    connectAndDisconnect(harness, Startup, {true, false}, false);
}

} // namespace
} // namespace corvane::vbaddin::testing
