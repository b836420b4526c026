#include "settings/FrmSelectLanguages.h"

#include "addin/ModWizard.h"
#include "addin/StringTable.h"
#include "controls/WindowSystem.h"
#include "settings/ModMain.h"

namespace corvane {

namespace {
// A simple multiple selection: each click ticks or unticks one line.
constexpr int16_t vbMultiSelectSimple = 1;
// The add-in's icon among the program's pictures.
constexpr int32_t AddInIcon = 101;
} // namespace

FrmSelectLanguages::FrmSelectLanguages(ModMain& settings) : Form("frmSelectLanguages"), settings_(settings) {}

FrmSelectLanguages::~FrmSelectLanguages() = default;

// The controls, with their design settings and their event handlers.
void FrmSelectLanguages::createControls() {
    SetTag("112");
    Move(0, 0, 5520, 5190);
    Image1_ = &add<controls::Image>("Image1");
    Image1_->SetPicture(AddInIcon);
    Image1_->Move(120, 120, 480, 480);
    Label1_ = &add<controls::Label>("Label1");
    Label1_->SetTag("108");
    Label1_->Move(720, 120, 4575, 1095);
    Label2_ = &add<controls::Label>("Label2");
    Label2_->SetTag("109");
    Label2_->Move(720, 1260, 4575, 495);
    lbxLanguages_ = &add<controls::ListBox>("lbxLanguages");
    lbxLanguages_->SetMultiSelect(vbMultiSelectSimple);
    lbxLanguages_->Move(720, 1860, 4575, 2205);
    cmdOk_ = &add<controls::CommandButton>("cmdOk");
    cmdOk_->SetTag("110");
    cmdOk_->SetDefault(true);
    cmdOk_->Move(2730, 4200, 1215, 375);
    cmdCancel_ = &add<controls::CommandButton>("cmdCancel");
    cmdCancel_->SetTag("111");
    cmdCancel_->SetCancel(true);
    cmdCancel_->Move(4080, 4200, 1215, 375);

    cmdOk_->Click.connect([this] { cmdOk_Click(); });
    cmdCancel_->Click.connect([this] { cmdCancel_Click(); });
}

void FrmSelectLanguages::Form_Load() {
    ErrorScope scope("frmSelectLanguages", "Form_Load");
    scope.run([&] {
        if (!settings_.SelectedLanguages)
            throw VbError(vberr::ObjectNotSet);
        for (const std::string& language : settings_.Languages) {
            scope.step([&] {
                lbxLanguages_->AddItem(language);
                if (settings_.SelectedLanguages->Contains(language))
                    lbxLanguages_->SetSelected(lbxLanguages_->NewIndex(), true);
            });
        }
        // No line is current, so that no line looks picked besides the selected ones.
        scope.step([&] { lbxLanguages_->SetListIndex(-1); });
        scope.step([&] { LoadResStrings(*this); });
    });
}

void FrmSelectLanguages::cmdOk_Click() {
    int32_t i = 0;
    ErrorScope scope("frmSelectLanguages", "cmdOk_Click");
    scope.locals({watch("i", i)});
    scope.run([&] {
        if (lbxLanguages_->SelCount() == 0) {
            scope.step([&] {
                controls::WindowSystem::get().MsgBox(LoadResString(107), controls::vbExclamation,
                                                     LoadResString(112));
            });
            return;
        }
        // A new list: whoever still holds the old one keeps it as it was.
        settings_.newSelectedLanguages();
        NameList& languages = *settings_.SelectedLanguages;
        for (i = 0; i < lbxLanguages_->ListCount(); ++i) {
            if (lbxLanguages_->Selected(i))
                scope.step([&] { languages.Add(lbxLanguages_->List(i), lbxLanguages_->List(i)); });
        }
        if (languages.Count() == 1) {
            settings_.mPrimaryLanguage = languages.Item(1);
            scope.step([&] { Hide(); });
            return;
        }
        if (!askPrimaryLanguage(scope)) {
            cmdCancel_Click(); // the new languages stay; the primary language does not change
            return;
        }
        settings_.mPrimaryLanguage = primaryLanguage_->PrimaryLanguage();
        scope.step([&] { Hide(); });
    });
}

bool FrmSelectLanguages::askPrimaryLanguage(ErrorScope& scope) {
    scope.step([&] {
        if (primaryLanguage_)
            primaryLanguage_->Unload();
        primaryLanguage_ = Form::create<FrmPrimaryLanguage>(settings_);
    });
    scope.step([&] { primaryLanguage_->Show(controls::vbModal, this); });
    return primaryLanguage_ && !primaryLanguage_->Cancelled();
}

void FrmSelectLanguages::cmdCancel_Click() {
    ErrorScope scope("frmSelectLanguages", "cmdCancel_Click");
    scope.run([&] { scope.step([&] { Hide(); }); });
}

controls::Label& FrmSelectLanguages::Label1() { return ensureLoaded(), *Label1_; }
controls::Label& FrmSelectLanguages::Label2() { return ensureLoaded(), *Label2_; }
controls::ListBox& FrmSelectLanguages::lbxLanguages() { return ensureLoaded(), *lbxLanguages_; }
controls::CommandButton& FrmSelectLanguages::cmdOk() { return ensureLoaded(), *cmdOk_; }
controls::CommandButton& FrmSelectLanguages::cmdCancel() { return ensureLoaded(), *cmdCancel_; }
controls::Image& FrmSelectLanguages::Image1() { return ensureLoaded(), *Image1_; }

} // namespace corvane
