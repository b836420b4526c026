#include "testsupport/addin/AddinTestFixture.h"

#include "registry/RegistryAccess.h"
#include "testsupport/TextTools.h"
#include "vbide/CommandBars.h"
#include "vbide/VBProject.h"

namespace corvane::test {

namespace fs = std::filesystem;

void writeCrLf(const fs::path& path, const std::string& textWithLf) {
    std::string bytes;
    for (char c : textWithLf) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    writeFile(path, bytes);
}

AddinTest::AddinTest()
    : registryFile_("CORVANE_REGISTRY", (dir_ / "registry.reg").string()),
      dataFolder_("CORVANE_DATA_DIR", (dir_ / "data").string()), ide_(std::make_shared<vbide::VBE>()),
      addin_(std::make_unique<Addin>()) {
    // The program's data files, with a language list of the tests' own.
    copyDataFolder(dir_ / "data");
    writeFile(dir_ / "data" / "languages.txt", "English\nGerman\nFrench\n");
    windows_.useDefaultAnswers(true);
}

AddinTest::~AddinTest() {
    // The editor goes while the window system is still installed.
    addin_.reset();
}

fs::path AddinTest::copyExample(const std::string& folder) {
    return test::copyExample(dir_ / folder, folder);
}

std::shared_ptr<vbide::VBProject> AddinTest::openProject(const fs::path& vbp) { return ide_->openProject(vbp); }

void AddinTest::connect(int32_t connectMode) {
    if (connected_)
        return;
    addin_->load();
    addin_->connect(ide_, connectMode);
    connected_ = true;
}

void AddinTest::clickMenu() {
    connect();
    auto entry = addin_->wizard()->menuEntry();
    if (!entry)
        throw std::runtime_error("the add-in installed no menu entry");
    entry->click();
}

FrmWizard& AddinTest::openEditor(const fs::path& vbp) {
    openProject(vbp);
    clickMenu();
    return editor();
}

FrmWizard& AddinTest::editor() {
    if (!addin_->editor())
        throw std::runtime_error("no editor window");
    return *addin_->editor();
}

void AddinTest::closeWithCloseBox() {
    editor().userClose();
    windows_.runPendingEvents();
}

HelpItem& AddinTest::record(const std::string& module, const std::string& key) {
    const auto& forms = editor().formsData();
    if (!forms || !forms->Contains(module) || !forms->Item(module)->Contains(key))
        throw std::runtime_error("no record " + module + "." + key);
    return *forms->Item(module)->Item(key);
}

std::vector<std::string> AddinTest::recordKeys(const std::string& module) {
    std::vector<std::string> keys;
    for (const auto& item : *editor().formsData()->Item(module))
        keys.push_back(item->ControlName.str());
    return keys;
}

std::vector<std::string> AddinTest::moduleNames() {
    const auto& names = editor().formNames();
    return names ? std::vector<std::string>(names->begin(), names->end()) : std::vector<std::string>{};
}

std::vector<std::string> AddinTest::moduleList() {
    std::vector<std::string> entries;
    controls::ListBox& list = editor().lbxModules();
    for (int32_t i = 0; i < list.ListCount(); ++i)
        entries.push_back(list.List(i));
    return entries;
}

void AddinTest::typeHelpText(const std::string& module, const std::string& key, const std::string& text) {
    FrmWizard& window = editor();
    controls::ListBox& list = window.lbxModules();
    for (int32_t i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == module && list.ListIndex() != i)
            list.SetListIndex(i);
    controls::Grid& grid = window.Grid();
    for (int32_t position = 0; position < grid.RowCount(); ++position) {
        int32_t index = grid.RowIndex(position);
        if (window.currentForm()->Item(index)->ControlName != key)
            continue;
        grid.SetRow(position);
        window.txtHelpText().SetText(text);
        return;
    }
    throw std::runtime_error("no grid row for " + module + "." + key);
}

void AddinTest::selectModule(const std::string& module) {
    controls::ListBox& list = editor().lbxModules();
    for (int32_t i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == module) {
            list.SetListIndex(i);
            return;
        }
    throw std::runtime_error("no module list entry " + module);
}

void AddinTest::selectRow(const std::string& key) {
    FrmWizard& window = editor();
    controls::Grid& grid = window.Grid();
    for (int32_t position = 0; position < grid.RowCount(); ++position)
        if (window.currentForm()->Item(grid.RowIndex(position))->ControlName == key) {
            grid.SetRow(position);
            return;
        }
    throw std::runtime_error("no grid row for " + key);
}

std::vector<std::string> AddinTest::gridRows() {
    controls::Grid& grid = editor().Grid();
    std::vector<std::string> rows;
    for (int32_t position = 0; position < grid.RowCount(); ++position) {
        Variant text = grid.cellValue(position, 3); // a cleared cell shows empty
        rows.push_back(grid.cellValue(position, 2).toText() + "|" + (text.isNull() ? "" : text.toText()));
    }
    return rows;
}

controls::Tool& AddinTest::tool(const std::string& name, const std::string& band) {
    return editor().ActiveBar().Bands(band).Tools().Item(name);
}

void AddinTest::clickTool(const std::string& name, const std::string& band) {
    editor().ActiveBar().clickTool(tool(name, band));
}

void AddinTest::pickLanguage(const std::string& language) {
    controls::Tool& combo = tool("selectedlanguage");
    for (int32_t i = 0; i < combo.ComboList().Count(); ++i)
        if (combo.ComboList().Item(i) == language) {
            editor().ActiveBar().pickComboEntry(combo, i);
            return;
        }
    throw std::runtime_error("no language combo entry " + language);
}

std::vector<std::string> AddinTest::languageCombo() {
    controls::Tool& combo = tool("selectedlanguage");
    std::vector<std::string> entries;
    for (int32_t i = 0; i < combo.ComboList().Count(); ++i)
        entries.push_back(combo.ComboList().Item(i));
    return entries;
}

std::string AddinTest::registryValue(const std::string& key, const std::string& name) {
    return registry().GetValue(RegistryRoot::CurrentUser, key, name);
}

std::vector<std::string> AddinTest::messageTitles() const {
    std::vector<std::string> titles;
    for (const auto& message : windows_.messages())
        titles.push_back(message.title);
    return titles;
}

} // namespace corvane::test

namespace corvane::test {

const char* const SmallFormA = "VERSION 5.00\n"
                               "Begin VB.Form frmA \n"
                               "   Caption         =   \"Form A\"\n"
                               "   ClientHeight    =   3000\n"
                               "   ClientWidth     =   4000\n"
                               "   WhatsThisHelp   =   -1  'True\n"
                               "   Begin VB.Timer timTick \n"
                               "      Interval        =   100\n"
                               "   End\n"
                               "   Begin VB.TextBox txtName \n"
                               "      Height          =   285\n"
                               "      TabIndex        =   0\n"
                               "      WhatsThisHelpID =   9\n"
                               "   End\n"
                               "   Begin VB.CommandButton cmdGo \n"
                               "      Caption         =   \"Go &first\"\n"
                               "      Index           =   0\n"
                               "      TabIndex        =   1\n"
                               "      WhatsThisHelpID =   4\n"
                               "   End\n"
                               "   Begin VB.CommandButton cmdGo \n"
                               "      Caption         =   \"Go &next\"\n"
                               "      Index           =   1\n"
                               "      TabIndex        =   2\n"
                               "   End\n"
                               "   Begin VB.Label lblNew \n"
                               "      Caption         =   \"New\"\n"
                               "      WhatsThisHelpID =   7\n"
                               "   End\n"
                               "End\n"
                               "Attribute VB_Name = \"frmA\"\n"
                               "Option Explicit\n";

const char* const SmallFormB = "VERSION 5.00\n"
                               "Begin VB.Form frmB \n"
                               "   Caption         =   \"Form B\"\n"
                               "   Begin VB.CheckBox chkSeven \n"
                               "      Caption         =   \"Seven\"\n"
                               "      WhatsThisHelpID =   7\n"
                               "   End\n"
                               "End\n"
                               "Attribute VB_Name = \"frmB\"\n";

const char* const SmallStoredData =
    R"x(<Root CurrentLanguage="English" PrimaryLanguage="English" GenerateHTML="True" CompileHTML="True" GenerateWinHelp="False" CompileWinHelp="False">
  <SelectedLanguage Name="English" />
  <VBComponent ComponentName="frmGone">
    <HelpItem ComponentName="frmGone" ControlName="cmdX" ContextHelpID="1" ControlType="CommandButton" Caption="X"><HelpText Language="English">gone</HelpText></HelpItem>
  </VBComponent>
  <VBComponent ComponentName="frmA">
    <HelpItem ComponentName="frmA" ControlName="txtOldName" ContextHelpID="2" ControlType="TextBox" Caption=""><HelpText Language="English">renamed</HelpText></HelpItem>
    <HelpItem ComponentName="frmA" ControlName="cmdGo(1)" ContextHelpID="5" ControlType="CommandButton" Caption="stale"><HelpText Language="English">next</HelpText></HelpItem>
    <HelpItem ComponentName="frmA" ControlName="txtName" ContextHelpID="3" ControlType="TextBox" Caption=""><HelpText Language="English">name</HelpText></HelpItem>
  </VBComponent>
  <VBComponent ComponentName="clsThing">
    <Anything ComponentName="clsThing" ControlName="x" ContextHelpID="0" ControlType="" />
  </VBComponent>
</Root>
)x";

std::filesystem::path writeSmallProject(const std::filesystem::path& folder, const std::string& extraLines) {
    writeCrLf(folder / "Small.vbp", "Type=Exe\n"
                                    "Form=frmA.frm\n"
                                    "Form=frmB.frm\n"
                                    "Module=modMain; modMain.bas\n"
                                    "Class=clsThing; clsThing.cls\n"
                                    "UserControl=ctlBox.ctl\n" +
                                        extraLines + "Name=\"Small\"\n");
    writeCrLf(folder / "frmA.frm", SmallFormA);
    writeCrLf(folder / "frmB.frm", SmallFormB);
    writeCrLf(folder / "modMain.bas", "Attribute VB_Name = \"modMain\"\n");
    writeCrLf(folder / "clsThing.cls", "VERSION 1.0 CLASS\nAttribute VB_Name = \"clsThing\"\n");
    writeCrLf(folder / "ctlBox.ctl", "VERSION 5.00\n"
                                     "Begin VB.UserControl ctlBox \n"
                                     "   ClientHeight    =   1000\n"
                                     "   Begin VB.TextBox txtValue \n"
                                     "      Height          =   285\n"
                                     "   End\n"
                                     "End\n"
                                     "Attribute VB_Name = \"ctlBox\"\n");
    return folder / "Small.vbp";
}

namespace {

const char* const EditForm = "VERSION 5.00\n"
                             "Begin VB.Form frmEdit \n"
                             "   Caption         =   \"Edit\"\n"
                             "   ClientHeight    =   3000\n"
                             "   ClientWidth     =   4000\n"
                             "   WhatsThisHelp   =   -1  'True\n"
                             "   Begin VB.CommandButton cmdOK \n"
                             "      Caption         =   \"OK\"\n"
                             "      WhatsThisHelpID =   1\n"
                             "   End\n"
                             "   Begin VB.TextBox txtName \n"
                             "      WhatsThisHelpID =   2\n"
                             "   End\n"
                             "   Begin VB.Label lblTitle \n"
                             "      Caption         =   \"Title\"\n"
                             "      WhatsThisHelpID =   3\n"
                             "   End\n"
                             "   Begin VB.CheckBox chkBold \n"
                             "      Caption         =   \"Bold\"\n"
                             "      WhatsThisHelpID =   4\n"
                             "   End\n"
                             "End\n"
                             "Attribute VB_Name = \"frmEdit\"\n";

const char* const OtherForm = "VERSION 5.00\n"
                              "Begin VB.Form frmOther \n"
                              "   Caption         =   \"Other\"\n"
                              "   Begin VB.TextBox txtNote \n"
                              "      WhatsThisHelpID =   5\n"
                              "   End\n"
                              "End\n"
                              "Attribute VB_Name = \"frmOther\"\n";

const char* const EmptyForm = "VERSION 5.00\n"
                              "Begin VB.Form frmEmpty \n"
                              "   Caption         =   \"Empty\"\n"
                              "End\n"
                              "Attribute VB_Name = \"frmEmpty\"\n";

// The help data of the editing project; %C and %P stand for the current and primary language.
const char* const EditData =
    R"x(<?xml version="1.0" encoding="UTF-8"?>
<Root CurrentLanguage="%C" PrimaryLanguage="%P" GenerateHTML="True" CompileHTML="False" GenerateWinHelp="False" CompileWinHelp="False">
  <SelectedLanguage Name="English" />
  <SelectedLanguage Name="German" />
  <VBComponent ComponentName="frmEdit">
    <HelpItem ComponentName="frmEdit" ControlName="cmdOK" ContextHelpID="1" ControlType="CommandButton" Caption="OK">
      <HelpText Language="English">Saves and closes.</HelpText>
      <HelpText Language="German">Speichert und schließt.</HelpText>
    </HelpItem>
    <HelpItem ComponentName="frmEdit" ControlName="txtName" ContextHelpID="2" ControlType="TextBox" Caption="">
      <HelpText Language="English">Your name.</HelpText>
    </HelpItem>
    <HelpItem ComponentName="frmEdit" ControlName="lblTitle" ContextHelpID="3" ControlType="Label" Caption="Title" />
    <HelpItem ComponentName="frmEdit" ControlName="chkBold" ContextHelpID="4" ControlType="CheckBox" Caption="Bold">
      <HelpText Language="English">Bold text.</HelpText>
      <HelpText Language="German">Fetter Text.</HelpText>
    </HelpItem>
  </VBComponent>
  <VBComponent ComponentName="frmOther">
    <HelpItem ComponentName="frmOther" ControlName="txtNote" ContextHelpID="5" ControlType="TextBox" Caption="">
      <HelpText Language="English">A note.</HelpText>
    </HelpItem>
  </VBComponent>
</Root>
)x";

} // namespace

std::filesystem::path writeEditProject(const std::filesystem::path& folder, const std::string& current,
                                       const std::string& primary) {
    writeCrLf(folder / "Edit.vbp", "Type=Exe\n"
                                   "Form=frmEdit.frm\n"
                                   "Form=frmOther.frm\n"
                                   "Form=frmEmpty.frm\n"
                                   "RelatedDoc=ContextHelp.txt\n"
                                   "Name=\"Edit\"\n");
    writeCrLf(folder / "frmEdit.frm", EditForm);
    writeCrLf(folder / "frmOther.frm", OtherForm);
    writeCrLf(folder / "frmEmpty.frm", EmptyForm);
    writeFile(folder / "ContextHelp.txt", replaceEvery(replaceEvery(EditData, "%C", current), "%P", primary));
    return folder / "Edit.vbp";
}

} // namespace corvane::test
