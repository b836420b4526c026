// A click on the add-in's menu entry in the fake VB6 IDE: the checks of the active project,
// the save before the editor runs, the editor (a stand-in program that changes a form and the
// project) run with the IDE disabled, and the IDE brought up to date afterwards.
#include "vb6addin/AddinHarness.h"
#include "vb6addin/FakeIde.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace corvane::vbaddin::testing {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string form(const std::string& caption, int helpId) {
    return "VERSION 5.00\r\nBegin VB.Form Form1\r\n   Caption         =   \"" + caption +
           "\"\r\n   WhatsThisHelpID =   " + std::to_string(helpId) + "\r\nEnd\r\nAttribute VB_Name = \"Form1\"\r\n";
}

const std::string projectText = "Type=Exe\r\nForm=Form1.frm\r\nForm=Form2.frm\r\nModule=Module1; Module1.bas\r\n"
                                "Name=\"Project1\"\r\n";

bool logHas(const CallLog& log, const std::wstring& call) { return std::find(log.begin(), log.end(), call) != log.end(); }

size_t logIndex(const CallLog& log, const std::wstring& call) {
    return static_cast<size_t>(std::find(log.begin(), log.end(), call) - log.begin());
}

bool logHasMember(const CallLog& log, const std::wstring& member) {
    return std::any_of(log.begin(), log.end(), [&](const std::wstring& call) { return call.find(member) != std::wstring::npos; });
}

// The add-in connected at start-up to `ide`, its entry ready to be clicked.
struct Connected {
    Connected(AddinHarness& harness, FakeIde& ide) : addin(harness.create()) {
        if (addin) {
            EXPECT_EQ(addin->OnConnection(ide.vbe(), Startup, nullptr, nullptr), S_OK);
        }
        entry = ide.entries().empty() ? nullptr : ide.entries().back().get();
    }
    ~Connected() {
        if (addin) {
            addin->OnDisconnection(0, nullptr);
            addin->Release();
        }
    }
    // Clicks the entry; true when the click came back with handled and CancelDefault untouched.
    bool click() { return entry && entry->events && entry->events->click(entry->object.get()); }

    IExtensibility2* addin;
    FakeMenuEntry* entry;
};

struct EditorStandIn {
    EditorStandIn(const std::wstring& program, const std::string& steps) {
        ::SetEnvironmentVariableW(L"CORVANE_ADDIN_EDITOR", program.c_str());
        ::SetEnvironmentVariableA("CORVANE_STAND_IN_STEPS", steps.c_str());
    }
    ~EditorStandIn() {
        ::SetEnvironmentVariableW(L"CORVANE_ADDIN_EDITOR", nullptr);
        ::SetEnvironmentVariableW(L"CORVANE_STAND_IN_STEPS", nullptr);
    }
};

// The path in UTF-8, as the stand-in writes its arguments.
std::string utf8(const fs::path& path) {
    std::wstring wide = path.wstring();
    int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring standIn() { return fs::path(CORVANE_STAND_IN).wstring(); }

TEST(VbAddinClick, ASavedProjectIsSavedEditedAndReloadedWhileTheIdeWaits) {
    AddinHarness harness;
    ASSERT_NE(harness.window(), nullptr) << "no window for the IDE (Wine needs an X display)";
    TemporaryFolder folder;
    const fs::path vbp = folder.path() / "Project1.vbp";
    writeFile(vbp, projectText);
    writeFile(folder.path() / "Form1.frm", form("Form1", 0));
    writeFile(folder.path() / "Form2.frm", form("Form2", 5));
    writeFile(folder.path() / "Module1.bas", "Attribute VB_Name = \"Module1\"\r\n");
    FakeIde ide(harness.window(), {false, false});
    std::vector<FakeComponent> components;
    components.push_back({nullptr, L"Form1", 5, folder.path() / "Form1.frm", form("Changed in the IDE", 0), true});
    components.push_back({nullptr, L"Form2", 5, folder.path() / "Form2.frm", {}, false});
    components.push_back({nullptr, L"Module1", 1, folder.path() / "Module1.bas", {}, false});
    ide.openProject(vbp, std::move(components));
    // The developer also changed the project's own settings in the IDE.
    const std::string projectInIde = projectText + "Title=\"Order entry\"\r\n";
    ide.setProjectDirty(projectInIde);
    // The editor: records its arguments and what the files held when it started, stays open
    // a while, then writes a number into Form1 and a help file and related document into the
    // project, as Corvane's compile does.
    const std::string formWritten = form("Changed in the IDE", 11);
    const std::string projectWritten = projectInIde + "HelpFile=\"Project1.chm\"\r\nRelatedDoc=ContextHelp.txt\r\n";
    EditorStandIn editor(standIn(), "arguments-to=editor-args.txt|copy=Form1.frm=seen-Form1.frm|"
                                    "copy=Project1.vbp=seen-Project1.vbp|sleep=400|write=Form1.frm=" +
                                        formWritten + "|write=Project1.vbp=" + projectWritten +
                                        "|write=ContextHelp.txt=<HelpItems/>");
    Connected connected(harness, ide);
    ASSERT_NE(connected.addin, nullptr);
    ASSERT_NE(connected.entry, nullptr);
    size_t before = ide.log.size();
    AddinHarness::disabledTicks() = AddinHarness::enabledTicks() = 0;
    ::SetTimer(harness.window(), 1, 25, nullptr);
    EXPECT_TRUE(connected.click());
    ::KillTimer(harness.window(), 1);
    CallLog log(ide.log.begin() + static_cast<long>(before), ide.log.end());

    // The editor ran on the project, in its folder, after the developer's changes were saved.
    EXPECT_EQ(readFile(folder.path() / "editor-args.txt"), "[edit]\n[" + utf8(vbp) + "]\n");
    EXPECT_EQ(readFile(folder.path() / "seen-Form1.frm"), form("Changed in the IDE", 0));
    EXPECT_EQ(readFile(folder.path() / "seen-Project1.vbp"), projectInIde);
    EXPECT_TRUE(logHas(log, L"Form1.SaveAs(\"" + (folder.path() / "Form1.frm").wstring() + L"\")"));
    EXPECT_TRUE(logHas(log, L"Project.SaveAs(\"" + vbp.wstring() + L"\")"));
    EXPECT_FALSE(logHas(log, L"Form2.SaveAs(\"" + (folder.path() / "Form2.frm").wstring() + L"\")"));
    // The IDE's main window was disabled while the editor ran, yet handled its messages.
    EXPECT_GT(AddinHarness::disabledTicks(), 0) << "no timer message came while the editor ran";
    EXPECT_EQ(AddinHarness::enabledTicks(), 0);
    EXPECT_TRUE(::IsWindowEnabled(harness.window()));
    // Only the changed form was reloaded; the IDE now holds what the editor wrote.
    EXPECT_LT(logIndex(log, L"Form1.SaveAs(\"" + (folder.path() / "Form1.frm").wstring() + L"\")"),
              logIndex(log, L"Form1.Reload"));
    EXPECT_TRUE(logHas(log, L"Form1.Reload"));
    EXPECT_FALSE(logHas(log, L"Form2.Reload"));
    EXPECT_FALSE(logHas(log, L"Module1.Reload"));
    EXPECT_EQ(ide.components()[0]->memory, formWritten);
    EXPECT_FALSE(ide.components()[0]->dirty);
    EXPECT_EQ(ide.helpFile(), L"Project1.chm");
    EXPECT_TRUE(logHas(log, L"VBComponents.AddFile(\"" + (folder.path() / "ContextHelp.txt").wstring() + L"\",True)"));
    ASSERT_EQ(ide.components().size(), 4u);
    EXPECT_EQ(ide.components()[3]->type, 10);
    // The files stay as the editor wrote them: nothing old was written back.
    EXPECT_EQ(readFile(folder.path() / "Form1.frm"), formWritten);
    EXPECT_EQ(readFile(vbp), projectWritten);

    // A second click with nothing changed in the IDE saves nothing and reloads nothing.
    EditorStandIn quiet(standIn(), "arguments-to=editor-args-2.txt");
    before = ide.log.size();
    EXPECT_TRUE(connected.click());
    CallLog second(ide.log.begin() + static_cast<long>(before), ide.log.end());
    EXPECT_EQ(readFile(folder.path() / "editor-args-2.txt"), "[edit]\n[" + utf8(vbp) + "]\n");
    EXPECT_FALSE(logHasMember(second, L".SaveAs"));
    EXPECT_FALSE(logHasMember(second, L".Reload"));
    EXPECT_FALSE(logHasMember(second, L".AddFile"));
}

TEST(VbAddinClick, AProjectTheEditorCannotTakeGetsOnlyAMessage) {
    AddinHarness harness;
    TemporaryFolder folder;
    EditorStandIn editor(standIn(), "arguments-to=ran.txt"); // in the project's folder
    struct Case {
        const char* what;
        bool project;
        bool saved;
        bool unsavedForm;
        std::wstring title, message;
    };
    const Case cases[] = {
        {"no project", false, false, false, L"No project selected", L"Please select a Project before invoking Corvane"},
        {"a project never saved", true, false, false, L"Project not saved",
         L"You must save this project before using Corvane with it"},
        {"a saved project with a new form never saved", true, true, true, L"Project not saved",
         L"You must save this project before using Corvane with it"},
    };
    const fs::path vbp = folder.path() / "Project1.vbp";
    writeFile(vbp, projectText);
    writeFile(folder.path() / "Form1.frm", form("Form1", 0));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeIde ide(harness.window(), {});
        if (c.project) {
            std::vector<FakeComponent> components;
            components.push_back({nullptr, L"Form1", 5, folder.path() / "Form1.frm", form("Changed", 0), true});
            if (c.unsavedForm)
                components.push_back({nullptr, L"Form3", 5, fs::path(), form("New", 0), true});
            ide.openProject(c.saved ? vbp : fs::path(), std::move(components));
        }
        Connected connected(harness, ide);
        ASSERT_NE(connected.addin, nullptr);
        MessageBoxAnswer answer(c.title);
        EXPECT_TRUE(connected.click());
        ShownMessage shown = answer.shown();
        EXPECT_EQ(shown.title, c.title);
        EXPECT_EQ(shown.text, c.message);
        EXPECT_FALSE(fs::exists(folder.path() / "ran.txt")) << "the editor ran";
        EXPECT_FALSE(logHasMember(ide.log, L".SaveAs")) << "something was saved";
        EXPECT_EQ(readFile(folder.path() / "Form1.frm"), form("Form1", 0));
    }

    // An editor that cannot be started is named in the message; the IDE stays usable.
    const std::wstring missing = (folder.path() / "no-such-editor.exe").wstring();
    EditorStandIn absent(missing, "");
    FakeIde ide(harness.window(), {});
    std::vector<FakeComponent> components;
    components.push_back({nullptr, L"Form1", 5, folder.path() / "Form1.frm", {}, false});
    ide.openProject(vbp, std::move(components));
    Connected connected(harness, ide);
    MessageBoxAnswer answer(L"Corvane");
    EXPECT_TRUE(connected.click());
    ShownMessage shown = answer.shown();
    EXPECT_EQ(shown.text.rfind(L"Corvane could not start " + missing + L": ", 0), 0u) << std::string(shown.text.begin(), shown.text.end());
    EXPECT_TRUE(::IsWindowEnabled(harness.window()));
    EXPECT_FALSE(logHasMember(ide.log, L".Reload"));
}

} // namespace
} // namespace corvane::vbaddin::testing
