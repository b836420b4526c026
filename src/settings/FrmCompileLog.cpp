#include "settings/FrmCompileLog.h"

#include "addin/ModWizard.h"

namespace corvane {

namespace {
// The window's design size in twips: wide enough for a compiler's lines.
constexpr int32_t DesignWidth = 9600;
constexpr int32_t DesignHeight = 6000;
} // namespace

FrmCompileLog::FrmCompileLog() : Form("frmCompileLog") {}

FrmCompileLog::~FrmCompileLog() = default;

void FrmCompileLog::createControls() {
    SetCaption("HTML Help Compiler Log");
    txtLogText_ = &add<controls::TextBox>("txtLogText");
    txtLogText_->SetMultiLine(true);
    txtLogText_->SetScrollBars(3);
    txtLogText_->SetLocked(true);
}

void FrmCompileLog::Form_Load() {
    ErrorScope scope("frmCompileLog", "Form_Load");
    scope.moduleVariables(*this);
    scope.run([&] {
        scope.step([&] {
            if (WindowState() == controls::vbNormal)
                Move(Left(), Top(), DesignWidth, DesignHeight);
        });
        LoadResStrings(*this);
    });
}

void FrmCompileLog::Form_Resize() {
    ErrorScope scope("frmCompileLog", "Form_Resize");
    scope.moduleVariables(*this);
    scope.run([&] {
        // The client area is the outer size less the frame; it is 0 x 0 while minimised.
        txtLogText_->Move(0, 0, ScaleWidth(), ScaleHeight());
    });
}

controls::TextBox& FrmCompileLog::txtLogText() { return ensureLoaded(), *txtLogText_; }

} // namespace corvane
