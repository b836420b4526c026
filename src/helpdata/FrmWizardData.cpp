// frmWizard: loading the project's help data file "ContextHelp.txt" and saving it (ExitApp).
#include "controls/BusyWindow.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"
#include "support/AtomicFile.h"
#include "support/FileObject.h"
#include "support/FileOperations.h"
#include "support/RegistryAccess.h"
#include "support/Utilities.h"
#include "support/VbConvert.h"
#include "support/XmlDocument.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"

#include <filesystem>

namespace corvane {

namespace {

const std::string DataFileName = "ContextHelp.txt";
const std::string Neutral = "Neutral";

// A free name beside `file` for a copy of a damaged file: "<name>.damaged", "<name>.damaged.2" ...
std::filesystem::path backupPathFor(const std::filesystem::path& file) {
    std::filesystem::path candidate = file.string() + ".damaged";
    for (int n = 2; std::filesystem::exists(candidate); ++n)
        candidate = file.string() + ".damaged." + std::to_string(n);
    return candidate;
}

const char* boolText(bool value) {
    return value ? "True" : "False";
}

} // namespace

std::shared_ptr<vbide::VBComponent> FrmWizard::findDataFileComponent() const {
    for (const auto& component : VBP()->VBComponents()) {
        FileObject file;
        file.SetFullPath(component->FileNames(1));
        if (file.FileName() == DataFileName)
            return component;
    }
    return nullptr;
}

// The data file beside the project file, added to the project as a related document. A file
// already there is added as it is; only a missing one is created empty.
std::shared_ptr<vbide::VBComponent> FrmWizard::createDataFileComponent() {
    FileObject file;
    file.SetFullPath(VBP()->FileName());
    file.SetBaseName("ContextHelp");
    file.SetExtension("txt");
    if (!file.Exists()) {
        file.OpenForWriting();
        file.WriteLine("<Root></Root>");
        file.Close();
    }
    return VBP()->VBComponents().AddFile(file.FullPath(), true);
}

void FrmWizard::loadHelpDataFile() {
    auto component = findDataFileComponent();
    if (!component)
        component = createDataFileComponent();
    std::string path = component->FileNames(1);
    XMLDocument document;
    readDataFileDocument(document, path);
    applyLoadedDocument(document);
    chooseOutputFormatsByVersion();
}

// Reads and parses the data file. A file that is not well-formed is reported, kept in a copy
// beside it, and read as an empty document, so that the next save does not lose it.
void FrmWizard::readDataFileDocument(XMLDocument& document, const std::string& path) {
    if (document.LoadFile(path))
        return;
    const XmlParseError error = *document.LastError();
    keepDataFile_ = true; // until the damaged file is safe in its copy
    std::filesystem::path backup = backupPathFor(path);
    CopyFile(path, backup);
    keepDataFile_ = false;
    controls::WindowSystem::get().MsgBox(
        "The help data file '" + path + "' is damaged: line " + std::to_string(error.line) +
            ", column " + std::to_string(error.column) + ": " + error.reason +
            ".  A copy of it was kept as '" + backup.string() +
            "'.  Corvane goes on without the help text of this file.",
        controls::vbExclamation, "Help data file damaged");
    document.LoadText("<Root></Root>");
}

void FrmWizard::applyLoadedDocument(const XMLDocument& document) {
    XMLElement root = document.Root();
    NameList& languages = *settings_.SelectedLanguages;
    if (root.Elements().Count() == 0) {
        languages.Add(Neutral, Neutral);
        settings_.mCurrentLanguage = Neutral;
        settings_.mPrimaryLanguage = Neutral;
        LoadSelectedLanguages(Neutral);
        return;
    }
    XMLAttributes attributes = root.Attributes();
    auto readFlag = [&](const char* name, bool& flag) {
        if (Utilities::ItemExists(attributes, name))
            flag = attributes.Item(name).Value() == "True";
    };
    readFlag("GenerateHTML", settings_.mGenerateHTML);
    readFlag("GenerateWinHelp", settings_.mGenerateWinHelp);
    readFlag("CompileHTML", settings_.mCompileHTML);
    readFlag("CompileWinHelp", settings_.mCompileWinHelp);
    if (Utilities::ItemExists(attributes, "PrimaryLanguage"))
        settings_.mPrimaryLanguage = attributes.Item("PrimaryLanguage").Value();
    if (Utilities::ItemExists(attributes, "CurrentLanguage"))
        settings_.mCurrentLanguage = attributes.Item("CurrentLanguage").Value();
    if (settings_.mCurrentLanguage.empty())
        settings_.mCurrentLanguage = Neutral;
    settings_.Busy->SetMessage("Loading existing help text");
    for (const XMLElement& child : root.Elements()) {
        const std::string name = child.Name();
        if (name == "VBComponent") {
            std::string module = child.Attributes().Item("ComponentName").Value();
            auto records = std::make_shared<HelpItems>();
            Forms->Add(records, module);
            FormNames->Add(module, module);
            for (const XMLElement& element : child.Elements()) {
                auto record = std::make_shared<HelpItem>(settings_);
                record->LoadFromXML(element);
                // The scan replaces the caption from the live control; a record whose control
                // cannot be read this session keeps the stored one and is saved as it was.
                XMLAttributes stored = element.Attributes();
                if (Utilities::ItemExists(stored, "Caption"))
                    record->Caption = stored.Item("Caption").Value();
                std::string_view key = record->ControlName; // lives on in the record
                records->Add(std::move(record), key);
            }
        } else if (name == "SelectedLanguage") {
            std::string language = child.Attributes().Item("Name").Value();
            if (!Utilities::KeyExists(languages, language))
                languages.Add(language, language);
        }
    }
    LoadSelectedLanguages(settings_.mCurrentLanguage);
    if (settings_.mPrimaryLanguage.empty())
        settings_.mPrimaryLanguage = settings_.mCurrentLanguage;
}

// Without a generated format, the IDE's version chooses: HTML Help after version 5.
void FrmWizard::chooseOutputFormatsByVersion() {
    if (settings_.mGenerateHTML || settings_.mGenerateWinHelp)
        return;
    double version = Val(Utilities::GetToken(mVBE->Version(), ".", 1));
    if (version <= 5) {
        settings_.mGenerateWinHelp = true;
        settings_.mCompileWinHelp = true;
        settings_.mCompileHTML = false;
    } else {
        settings_.mGenerateHTML = true;
        settings_.mCompileHTML = true;
        settings_.mCompileWinHelp = false;
    }
}

void FrmWizard::ExitApp() {
    ErrorScope scope("frmWizard", "ExitApp");
    scope.moduleVariables(*this);
    scope.run([&] {
        controls::BusyWindow& busy = *settings_.Busy;
        if (Forms) {
            scope.step([&] {
                busy.SetTitle("Saving ..");
                busy.SetShowProgress(false);
                busy.SetMessage("Saving Help data");
                busy.SetOwner(this);
                busy.Show();
            });
            scope.step([&] { Grid_->Update(); });
            XMLDocument document;
            buildDataDocument(document, scope);
            bool written = false;
            scope.step([&] {
                writeDataFile(document);
                written = true;
            });
            if (!written) {
                // The data is not safe on disk: the window stays open with everything in it.
                busy.Hide();
                return;
            }
            Forms.reset();
            FormNames.reset();
            CurrentForm.reset();
        }
        scope.step([&] { Grid_->SetItemCount(0); });
        auto& reg = registry();
        scope.step([&] {
            reg.SetValue(RegistryRoot::CurrentUser, "Software\\Halvex", "CorvaneSplitRight",
                         splitright_->GetLayout(), REG_SZ);
        });
        scope.step([&] {
            reg.SetValue(RegistryRoot::CurrentUser, "Software\\Halvex", "CorvaneSplitMain",
                         splitMain_->GetLayout(), REG_SZ);
        });
        settings_.SaveWindowPosition("Main", *this, *Grid_, *splitMain_);
        scope.step([&] {
            reg.SetValue(RegistryRoot::CurrentUser, "Software\\Halvex\\Corvane", "spelltype",
                         GetSpellType(), REG_SZ);
        });
        scope.step([&] { Unload(); });
        scope.step([&] { busy.Hide(); });
    });
}

// Steps 4 to 7 of the save: the document of the help data, with every record.
void FrmWizard::buildDataDocument(XMLDocument& document, ErrorScope& scope) {
    XMLElement root = document.Root();
    root.SetName("Root");
    root.AddAttribute("CurrentLanguage", settings_.mCurrentLanguage);
    root.AddAttribute("PrimaryLanguage", settings_.mPrimaryLanguage);
    root.AddAttribute("GenerateHTML", boolText(settings_.mGenerateHTML));
    root.AddAttribute("CompileHTML", boolText(settings_.mCompileHTML));
    root.AddAttribute("GenerateWinHelp", boolText(settings_.mGenerateWinHelp));
    root.AddAttribute("CompileWinHelp", boolText(settings_.mCompileWinHelp));
    for (const std::string& language : *settings_.SelectedLanguages)
        root.AddElement("SelectedLanguage", "").AddAttribute("Name", language);
    for (int32_t x = 1; x <= Forms->Count(); ++x) {
        XMLElement module = root.AddElement("VBComponent", "");
        module.AddAttribute("ComponentName", FormNames->Item(x));
        for (const auto& record : *Forms->Item(x)) {
            record->SaveToXML(module.AddElement("HelpItem", ""));
            scope.step([&] {
                // Records without text lose their context number in the project.
                const auto& control = record->Control();
                if (record->HasHelpText() || !control ||
                    !Utilities::ItemExists(control->Properties(), "WhatsThisHelpID"))
                    return;
                auto& property = control->Properties().Item("WhatsThisHelpID");
                if (property.Value().toLong() != 0)
                    property.SetValue(Variant(int32_t{0}));
            });
        }
    }
}

// Writes the document through "ContextHelp.txt.tmp" beside the data file and renames it into
// place. A project that lost the data file's component gets it again, as loading does.
void FrmWizard::writeDataFile(const XMLDocument& document) {
    auto component = findDataFileComponent();
    if (!component)
        component = createDataFileComponent();
    if (keepDataFile_)
        throw VbError(vberr::PathFileAccess, "The damaged help data file '" +
                                                 component->FileNames(1) +
                                                 "' could not be copied; it is not replaced");
    FileObject file;
    file.SetFullPath(component->FileNames(1));
    std::filesystem::path target = file.FullPath();
    file.SetExtension("txt.tmp");
    AtomicFile output(target, file.FullPath());
    char last = 0;
    document.WriteText([&](std::string_view piece) {
        output.write(piece);
        if (!piece.empty())
            last = piece.back();
    });
    if (last != '\n')
        output.write("\r\n"); // the file ends with a line break

    output.commit();
}

} // namespace corvane
