// Saving the help data file: concurrent saves (the lock, real processes racing), each step of
// the save failing in turn, read-only files and links.
#include "files/FileFailures.h"
#include "files/ProcessMarker.h"
#include "helpdata/HelpDataFile.h"
#include "settings/ModMain.h"
#include "testsupport/TextTools.h"
#include "testsupport/addin/AddinTestFixture.h"
#include "vbruntime/VbError.h"
#include "xml/XMLDocument.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

// The help data of a project without a window: settings, records and the file.
struct Project {
    explicit Project(const fs::path& file, int modules = 1, int controls = 3) : data(settings) {
        settings.newSelectedLanguages();
        settings.SelectedLanguages->Add("English", "English");
        settings.mCurrentLanguage = settings.mPrimaryLanguage = "English";
        for (int m = 1; m <= modules; ++m) {
            std::string module = "frm" + std::to_string(m);
            auto records = std::make_shared<HelpItems>();
            for (int c = 1; c <= controls; ++c) {
                auto record = std::make_shared<HelpItem>(settings.SelectedLanguages);
                record->ComponentName = module;
                record->ControlName = "ctl" + std::to_string(c);
                record->ControlType = "TextBox";
                records->Add(record, record->ControlName);
            }
            forms.Add(records, module);
            names.Add(module, module);
        }
        data.read(file);
    }
    // Loads the records the file holds in place of the ones made here.
    void load(const fs::path& file) {
        forms.Clear();
        names.Clear();
        settings.newSelectedLanguages();
        data.load(file, forms, names);
    }
    // Gives every record the text `text`; with `half` 0 or 1 only every other record, from the
    // first or the second.
    void setTexts(const std::string& text, int half = -1) {
        int position = 0;
        for (const auto& records : forms)
            for (const auto& record : *records)
                if (half < 0 || position++ % 2 == half)
                    record->SetHelpText("English", text + " " + record->ControlName.str());
    }
    std::string bytes() const { return data.document(forms, names).XMLText(); }

    ModMain settings;
    HelpDataFile data;
    ModuleRecords forms;
    NameList names;
};

// The number of "HelpItem" elements when the file is well-formed and every record has a text;
// -1 otherwise.
int completeRecords(const fs::path& file) {
    XMLDocument document;
    if (!document.LoadText(readFile(file)))
        return -1;
    int count = 0;
    for (const XMLElement& module : document.Root().Elements()) {
        for (const XMLElement& item : module.Elements()) {
            XMLElements texts = item.Elements();
            if (texts.Count() != 1)
                return -1;
            if (texts.Item(1).Text().empty())
                return -1;
            ++count;
        }
    }
    return count;
}

class HelpDataSaveTest : public AddinTest {
protected:
    fs::path file() const { return dir_ / "ContextHelp.txt"; }
    void TearDown() override { setAtomicFaultInjector({}); }
};

// A CR in a text is written as "&#13;": a reader makes a raw CR (or CR LF) a LF, so the text
// would change between two reads. Both writers write it so, and the text reads back exactly,
// here and in any XML reader; a raw CR of an older file, or one in a CDATA section, is kept.
TEST_F(HelpDataSaveTest, ACarriageReturnInATextIsWrittenAsAReferenceAndReadsBackExactly) {
    const std::string text = "one\rtwo\r\nthree\n\rfour\r";
    Project project(file());
    project.forms.Item("frm1")->Item("ctl1")->SetHelpText("English", text);
    project.data.save(project.forms, project.names);
    const std::string saved = readFile(file());
    EXPECT_NE(saved.find(">one&#13;two&#13;\nthree\n&#13;four&#13;</HelpText>"), std::string::npos) << saved;
    EXPECT_EQ(saved.find('\r'), std::string::npos);
    EXPECT_EQ(project.bytes(), saved) << "the document writes the same bytes";

    Project again(file());
    again.load(file());
    EXPECT_TRUE(again.data.complete()) << again.data.problemReport();
    EXPECT_EQ(again.forms.Item("frm1")->Item("ctl1")->GetHelpText("English"), text);
    EXPECT_EQ(again.bytes(), saved) << "a second round writes the same bytes";

    // An XML reader that makes line ends LF, as the standard asks, reads the same text.
    pugi::xml_document other;
    ASSERT_TRUE(other.load_string(saved.c_str(), pugi::parse_default));
    EXPECT_EQ(std::string(other.select_node("//HelpItem[@ControlName='ctl1']/HelpText").node().child_value()), text);

    // A raw CR written by an older version, and one in a CDATA section, are read as they stand
    // and written back as references.
    writeFile(file(), "<Root CurrentLanguage=\"English\"><SelectedLanguage Name=\"English\"/>"
                      "<VBComponent ComponentName=\"frm1\">"
                      "<HelpItem ComponentName=\"frm1\" ControlName=\"ctl1\" ContextHelpID=\"0\" ControlType=\"A\">"
                      "<HelpText Language=\"English\">raw\r\nline</HelpText></HelpItem>"
                      "<HelpItem ComponentName=\"frm1\" ControlName=\"ctl2\" ContextHelpID=\"0\" ControlType=\"A\">"
                      "<HelpText Language=\"English\"><![CDATA[in\rcdata]]></HelpText></HelpItem>"
                      "</VBComponent></Root>");
    Project older(file());
    older.load(file());
    EXPECT_EQ(older.forms.Item("frm1")->Item("ctl1")->GetHelpText("English"), "raw\r\nline");
    EXPECT_EQ(older.forms.Item("frm1")->Item("ctl2")->GetHelpText("English"), "in\rcdata");
    HelpDataFile reader(older.settings); // as an import reads it, for the document
    reader.read(file(), HelpDataFile::ReadFor::Document);
    XMLDocument document = reader.readDocument();
    const std::string written = document.XMLText();
    EXPECT_NE(written.find(">in&#13;cdata</HelpText>"), std::string::npos) << written;
    EXPECT_NE(written.find(">raw&#13;\nline</HelpText>"), std::string::npos) << written;
    XMLDocument reread;
    ASSERT_TRUE(reread.LoadText(written));
    EXPECT_EQ(reread.XMLText(), written);
}

TEST_F(HelpDataSaveTest, EachStepOfTheSaveFailingLeavesTheOldOrTheNewBytesAndTellsWhy) {
    struct Case {
        AtomicStep step;
        bool newBytes; // the step comes after the rename
        const char* told;
    };
    const Case cases[] = {{AtomicStep::Lock, false, "Cannot create the lock file"},
                          {AtomicStep::CreateTemporary, false, "Cannot create"},
                          {AtomicStep::Write, false, "Cannot write"},
                          {AtomicStep::Flush, false, "Cannot flush"},
                          {AtomicStep::Rename, false, "Cannot rename"},
                          {AtomicStep::SyncFolder, true, "could not be flushed to disk"},
                          {AtomicStep::Unlock, true, "could not be removed"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        fs::remove_all(dir_ / "run");
        fs::create_directories(dir_ / "run");
        Project project(dir_ / "run" / "ContextHelp.txt");
        project.setTexts("old");
        project.data.save(project.forms, project.names);
        const std::string old = readFile(dir_ / "run" / "ContextHelp.txt");
        project.setTexts("new");
        const std::string wanted = project.bytes();
        setAtomicFaultInjector(
            [&](AtomicStep step, const fs::path&) { return step == c.step ? EIO : 0; });
        try {
            project.data.save(project.forms, project.names);
            ADD_FAILURE() << "the failure was not reported";
        } catch (const VbError& error) {
            EXPECT_EQ(error.number(), 75);
            EXPECT_NE(error.description().find(c.told), std::string::npos) << error.description();
            EXPECT_NE(error.description().find("Input/output error"), std::string::npos)
                << error.description();
        }
        setAtomicFaultInjector({});
        EXPECT_EQ(readFile(dir_ / "run" / "ContextHelp.txt"), c.newBytes ? wanted : old);
        // Only a failed rename leaves a temporary file (the new bytes), only a failed removal the
        // lock.
        int temporaries = 0;
        for (const auto& entry : fs::directory_iterator(dir_ / "run"))
            if (entry.path().extension() == ".tmp") {
                ++temporaries;
                EXPECT_EQ(readFile(entry.path()), wanted);
            }
        EXPECT_EQ(temporaries, c.step == AtomicStep::Rename ? 1 : 0);
        EXPECT_EQ(fs::exists(dir_ / "run" / "ContextHelp.txt.lock"), c.step == AtomicStep::Unlock);
    }
}

TEST_F(HelpDataSaveTest, ASaveThatFindsTheLockHeldSaysSoAndKeepsTheWindowOpen) {
    auto vbp = writeSmallProject(dir_.path(), "RelatedDoc=ContextHelp.txt\n");
    writeFile(file(), "<Root><SelectedLanguage Name=\"Neutral\"/></Root>");
    openEditor(vbp);
    record("frmA", "txtName").SetHelpText("Neutral", "Mine");
    auto saving = ProcessMarker::tryTake(dir_ / "ContextHelp.txt.lock", "save"); // another save runs
    ASSERT_TRUE(saving);
    reports_.answer("RetryNext");
    closeWithCloseBox(); // waits for the lock a short while, then gives up
    ASSERT_EQ(reports_.reports().size(), 1u);
    std::string description = reports_.reports()[0].description.toText();
    EXPECT_NE(description.find("is being saved by another program"), std::string::npos)
        << description;
    EXPECT_NE(description.find((dir_ / "ContextHelp.txt.lock").string()), std::string::npos)
        << description;
    EXPECT_TRUE(editor().loaded());
    EXPECT_EQ(readFile(file()), "<Root><SelectedLanguage Name=\"Neutral\"/></Root>");

    saving->release(); // that save ended
    closeWithCloseBox();
    EXPECT_FALSE(editor().loaded());
    EXPECT_NE(readFile(file()).find(">Mine</HelpText>"), std::string::npos);
}

TEST_F(HelpDataSaveTest, AReadOnlyFileIsNotReplacedAndALinkIsWrittenThrough) {
    auto vbp = writeSmallProject(dir_.path(), "RelatedDoc=ContextHelp.txt\n");
    fs::create_directories(dir_ / "shared");
    const std::string stored = "<Root><SelectedLanguage Name=\"Neutral\"/></Root>";
    writeFile(dir_ / "shared" / "help.xml", stored);
    fs::create_symlink("shared/help.xml", file());
    ::chmod((dir_ / "shared" / "help.xml").c_str(), 0444);
    openEditor(vbp);
    record("frmA", "txtName").SetHelpText("Neutral", "Through the link");
    reports_.answer("RetryNext");
    closeWithCloseBox();
    ASSERT_EQ(reports_.reports().size(), 1u);
    std::string description = reports_.reports()[0].description.toText();
    EXPECT_NE(description.find("'" + (dir_ / "shared" / "help.xml").string() + "' is read-only"),
              std::string::npos)
        << description;
    EXPECT_TRUE(editor().loaded());
    EXPECT_EQ(readFile(dir_ / "shared" / "help.xml"), stored);

    ::chmod((dir_ / "shared" / "help.xml").c_str(), 0640); // the user makes it writable
    closeWithCloseBox();
    EXPECT_FALSE(editor().loaded());
    EXPECT_TRUE(fs::is_symlink(file()));
    EXPECT_NE(readFile(dir_ / "shared" / "help.xml").find(">Through the link</HelpText>"),
              std::string::npos);
    struct stat info {};
    ::stat((dir_ / "shared" / "help.xml").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    for (const auto& entry : fs::directory_iterator(dir_ / "shared"))
        EXPECT_EQ(entry.path().filename(), "help.xml"); // no temporary file or lock left
}

// Two real processes save a project of 2,000 records 100 times each, racing for the file, each
// changing its own half of the records: after every save the file is well-formed and holds every
// record, and at the end each process's last texts are all there.
TEST_F(HelpDataSaveTest, TwoProcessesRacingTwoHundredSavesNeverTearTheFileNorLoseTheOthersTexts) {
    constexpr int Modules = 20, Controls = 100, Saves = 100;
    {
        Project seed(file(), Modules, Controls);
        seed.setTexts("seed");
        seed.data.save(seed.forms, seed.names);
    }
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        ASSERT_GE(children[child], 0);
        if (children[child] != 0)
            continue;
        int status = 0;
        try {
            Project project(file(), Modules, Controls);
            project.load(file()); // what the file holds, as a program that opens it reads it
            project.data.setLockWait(std::chrono::seconds(30));
            for (int save = 0; save < Saves && status == 0; ++save) {
                project.setTexts("p" + std::to_string(child) + "s" + std::to_string(save), child);
                project.data.save(project.forms, project.names);
                if (completeRecords(file()) != Modules * Controls)
                    status = 1;
            }
        } catch (const std::exception&) {
            status = 2;
        }
        ::_exit(status);
    }
    int torn = 0, checks = 0;
    for (int running = 2; running > 0;) {
        ++checks;
        if (completeRecords(file()) != Modules * Controls)
            ++torn;
        for (pid_t& child : children) {
            int status = 0;
            if (child > 0 && ::waitpid(child, &status, WNOHANG) == child) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
                child = 0;
                --running;
            }
        }
    }
    EXPECT_EQ(torn, 0) << "of " << checks << " reads";
    EXPECT_EQ(completeRecords(file()), Modules * Controls);
    // Each process's last save of its own half is in the file.
    const std::string bytes = readFile(file());
    EXPECT_EQ(countOf(bytes, ">p0s" + std::to_string(Saves - 1) + " "), size_t{Modules * Controls / 2});
    EXPECT_EQ(countOf(bytes, ">p1s" + std::to_string(Saves - 1) + " "), size_t{Modules * Controls / 2});
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.lock"));
}

} // namespace
} // namespace corvane::test
