#include "controls/FileDialog.h"

#include "controls/WindowSystem.h"

namespace corvane::controls {

FileDialog::FileDialog(std::string name) : Control("FileDialog", std::move(name), HasPosition) {}

void FileDialog::SetDialogTitle(std::string title) {
    dialogTitle_ = std::move(title);
    changed("DialogTitle");
}

void FileDialog::SetFilter(std::string filter) {
    filter_ = std::move(filter);
    changed("Filter");
}

void FileDialog::SetInitDir(std::string folder) {
    initDir_ = std::move(folder);
    changed("InitDir");
}

void FileDialog::SetFileName(std::string fileName) {
    fileName_ = std::move(fileName);
    changed("FileName");
}

void FileDialog::SetFlags(int32_t flags) {
    flags_ = flags;
    changed("Flags");
}

void FileDialog::SetOKButtonCaption(std::string caption) {
    okCaption_ = std::move(caption);
    changed("OKButtonCaption");
}

void FileDialog::ShowOpen() {
    std::optional<std::string> chosen = WindowSystem::get().showFileDialog(*this);
    cancelled_ = !chosen.has_value();
    if (chosen)
        SetFileName(std::move(*chosen));
    changed("Cancelled");
}

std::optional<Variant> FileDialog::readProperty(std::string_view name) const {
    if (is(name, "DialogTitle"))
        return Variant(dialogTitle_);
    if (is(name, "Filter"))
        return Variant(filter_);
    if (is(name, "InitDir"))
        return Variant(initDir_);
    if (is(name, "FileName"))
        return Variant(fileName_);
    if (is(name, "Flags"))
        return Variant(flags_);
    if (is(name, "OKButtonCaption"))
        return Variant(okCaption_);
    if (is(name, "Cancelled"))
        return Variant(cancelled_);
    return Control::readProperty(name);
}

bool FileDialog::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "DialogTitle"))
        SetDialogTitle(value.toText());
    else if (is(name, "Filter"))
        SetFilter(value.toText());
    else if (is(name, "InitDir"))
        SetInitDir(value.toText());
    else if (is(name, "FileName"))
        SetFileName(value.toText());
    else if (is(name, "Flags"))
        SetFlags(value.toLong());
    else if (is(name, "OKButtonCaption"))
        SetOKButtonCaption(value.toText());
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
