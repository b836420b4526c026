// FileDialog: the common file dialog control of a window (an invisible control, like a timer).
//
// The program sets the dialog's title, filter, initial folder and file name, its flags and
// the caption of its accept button, then shows it with ShowOpen. The window system asks the
// user (a real dialog, or a scripted answer when headless); afterwards Cancelled() tells
// whether the user gave up and FileName() holds the chosen file's full path.
#pragma once

#include "controls/Control.h"

#include <cstdint>
#include <string>

namespace corvane::controls {

// OFN_FILEMUSTEXIST: only an existing file can be chosen.
constexpr int32_t cdlOFNFileMustExist = 0x1000;

class FileDialog : public Control {
public:
    explicit FileDialog(std::string name = "FileDialog1");

    // The dialog's title bar text.
    const std::string& DialogTitle() const noexcept { return dialogTitle_; }
    void SetDialogTitle(std::string title);
    // The filter: pairs of "description|pattern" joined by "|" ("Compiler (hhc.exe)|hhc.exe").
    const std::string& Filter() const noexcept { return filter_; }
    void SetFilter(std::string filter);
    // The folder the dialog opens in ("" for the system's choice).
    const std::string& InitDir() const noexcept { return initDir_; }
    void SetInitDir(std::string folder);
    // The file name shown at first; after an accepted dialog, the chosen file's full path.
    const std::string& FileName() const noexcept { return fileName_; }
    void SetFileName(std::string fileName);
    // Option bits of the Windows common dialog (cdlOFNFileMustExist ...).
    int32_t Flags() const noexcept { return flags_; }
    void SetFlags(int32_t flags);
    // The caption of the button that accepts the choice ("" for the dialog's own).
    const std::string& OKButtonCaption() const noexcept { return okCaption_; }
    void SetOKButtonCaption(std::string caption);
    // True when the last ShowOpen was cancelled.
    bool Cancelled() const noexcept { return cancelled_; }

    // Shows the dialog modally for choosing a file to open; raises 91 when no window system
    // is installed.
    void ShowOpen();

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    std::string dialogTitle_;
    std::string filter_;
    std::string initDir_;
    std::string fileName_;
    int32_t flags_ = 0;
    std::string okCaption_;
    bool cancelled_ = false;
};

} // namespace corvane::controls
