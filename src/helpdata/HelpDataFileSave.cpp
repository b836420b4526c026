// HelpDataFile: saving the help data safely, and its document.
#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "helpdata/HelpDataComparison.h"
#include "helpdata/HelpDataFile.h"
#include "helpdata/HelpDataWriter.h"
#include "vbruntime/VbError.h"

#include <optional>

namespace corvane {

namespace fs = std::filesystem;

namespace {

const char* boolText(bool value) {
    return value ? "True" : "False";
}

// The bytes of a file, or nothing when it does not exist or cannot be read.
std::optional<std::string> bytesOf(const fs::path& path) {
    try {
        return readFileBytes(path);
    } catch (const VbError&) {
        return std::nullopt;
    }
}

// An existing copy holding `bytes`, else the first free name "<file><suffix>", "<suffix>.2" ...
fs::path copyNameFor(const fs::path& file, const std::optional<std::string>& bytes, const std::string& suffix) {
    fs::path candidate = file;
    candidate += suffix;
    std::error_code error;
    for (int n = 2; fs::exists(candidate, error); ++n) {
        if (bytes && bytesOf(candidate) == bytes)
            return candidate;
        (candidate = file) += suffix + "." + std::to_string(n);
    }
    return candidate;
}

std::string conflictText(const fs::path& file, const std::vector<MergeConflict>& conflicts) {
    std::string text = "The help data file '" + file.string() +
                       "' was changed by another program since Corvane read it, and " +
                       (conflicts.size() == 1 ? std::string("one text was")
                                              : std::to_string(conflicts.size()) + " texts were") +
                       " changed both there and here:";
    for (const MergeConflict& conflict : conflicts)
        text += "\n  " + conflict.describe();
    return text + "\nNothing was written.";
}

// The version a save left in place; none when it cannot be opened (the next save then compares
// with the file as it finds it, which holds the same records).
FileVersion versionAfterSave(const fs::path& file) {
    try {
        return FileVersion::open(file);
    } catch (const VbError&) {
        return {};
    }
}

} // namespace

fs::path HelpDataFile::backupPath() const {
    if (!needsCopy() || originalKept_ || unreadable_)
        return {};
    return copyNameFor(path_, bytesOf(path_), copySuffix());
}

std::string HelpDataFile::copySuffix() const {
    return complete() && readInCodePage_ ? ".cp" + std::to_string(*readInCodePage_) : ".damaged";
}

XMLDocument HelpDataFile::document(const ModuleRecords& forms, const NameList& formNames) const {
    XMLDocument document;
    XMLElement root = document.Root();
    root.SetName("Root");
    root.AddAttribute("CurrentLanguage", settings_.mCurrentLanguage);
    root.AddAttribute("PrimaryLanguage", settings_.mPrimaryLanguage);
    root.AddAttribute("GenerateHTML", boolText(settings_.mGenerateHTML));
    root.AddAttribute("CompileHTML", boolText(settings_.mCompileHTML));
    root.AddAttribute("GenerateWinHelp", boolText(settings_.mGenerateWinHelp));
    root.AddAttribute("CompileWinHelp", boolText(settings_.mCompileWinHelp));
    if (settings_.codePage)
        root.AddAttribute("CodePage", std::to_string(*settings_.codePage));
    for (const std::string& language : *settings_.SelectedLanguages)
        root.AddElement("SelectedLanguage", "").AddAttribute("Name", language);
    for (int32_t x = 1; x <= forms.Count(); ++x) {
        XMLElement module = root.AddElement("VBComponent", "");
        module.AddAttribute("ComponentName", formNames.Item(x));
        for (const auto& record : *forms.Item(x))
            record->SaveToXML(module.AddElement("HelpItem", ""));
    }
    return document;
}

HelpDataConflictError::HelpDataConflictError(const fs::path& file, std::vector<MergeConflict> conflicts)
    : VbError(vberr::PathFileAccess, conflictText(file, conflicts), file.string()), conflicts_(std::move(conflicts)) {}

void HelpDataFile::save(ModuleRecords& forms, NameList& formNames, const fs::path& target,
                        std::optional<FileStamp> holding, MergeResolution resolution) {
    const fs::path file = target.empty() ? path_ : target;
    bool merged = false;
    // A file known to hold the save since an earlier comparison, and still that very file, is
    // kept at once; one of megabytes that already holds it is recognised on several threads.
    auto quickCheck = [&](int fd, size_t size) {
        if (holding && !merged && FileStamp::of(fd) == holding)
            return true;
        return size >= HelpDataComparison::WorthFrom &&
               HelpDataComparison(settings_, forms, formNames).holdsRecords(fd, size);
    };
    commitTo(
        file, [&](OutputBuffer& out) { HelpDataWriter(settings_, out).write(forms, formNames); },
        [&] { merged = catchUp(file, forms, formNames, resolution); }, quickCheck,
        [&] { markWritten(file, forms); });
}

void HelpDataFile::write(const XMLDocument& document, const fs::path& target,
                         const std::function<void()>& beforeReplace) {
    commitTo(
        target,
        [&](OutputBuffer& out) {
            char last = 0;
            document.WriteText([&](std::string_view piece) {
                out.append(piece);
                if (!piece.empty())
                    last = piece.back();
            });
            if (last != '\n')
                out.append("\r\n"); // the file ends with a line break
        },
        beforeReplace);
}

bool HelpDataFile::isFileRead(const fs::path& file) const {
    std::error_code error;
    return file == path_ || fs::equivalent(file, path_, error);
}

// Under the lock, so that no other save comes between this check and the replace. A file that
// is gone now gets the records whole: nothing of them may be lost to a removal.
bool HelpDataFile::catchUp(const fs::path& file, ModuleRecords& forms, NameList& formNames,
                           MergeResolution resolution) {
    std::error_code error;
    if (!isFileRead(file) || version_.isCurrent(file) || !fs::is_regular_file(file, error))
        return false; // (something that is no file is not replaced anyway: the rename says so)
    mergeVersionOf(file, forms, formNames, [&](HelpDataFile& theirs, const HelpDataMerge& merge) {
        theirs.keepOriginal(file); // what it could not load stays in a copy, as after any incomplete load
        if (!merge.conflicts().empty() && resolution == MergeResolution::Refuse)
            throw HelpDataConflictError(file, merge.conflicts());
        return resolution;
    });
    return true;
}

// Still under the lock: the version now in place is the one the next save compares with, and
// everything the records hold is in it.
void HelpDataFile::markWritten(const fs::path& file, ModuleRecords& forms) {
    if (!isFileRead(file))
        return;
    version_ = versionAfterSave(file);
    storedSettings_ = StoredSettings::of(settings_);
    for (const auto& records : forms)
        for (const auto& record : *records)
            record->markAsInFile();
}

// The one way the data file is written: under its lock, the copy of an incompletely loaded
// file first, streamed into a temporary file that replaces it; an unchanged file keeps its
// time for build tools.
void HelpDataFile::commitTo(const fs::path& target,
                            const std::function<void(OutputBuffer& out)>& produce,
                            const std::function<void()>& beforeReplace, AtomicFile::ContentCheck quickCheck,
                            const std::function<void()>& afterReplace) {
    const fs::path file = target.empty() ? path_ : target;
    AtomicFile output(file, {}, Durability::Flush, Locking::Exclusive);
    output.setLockWait(lockWait_);
    output.setKeepUnchanged(true);
    output.setQuickUnchangedCheck(std::move(quickCheck));
    output.setBeforeReplace([&] {
        if (beforeReplace)
            beforeReplace(); // under the lock: no other save can come between
        keepOriginal(file);
    });
    output.setAfterReplace([&] {
        if (afterReplace)
            afterReplace();
        else if (isFileRead(file))
            version_ = versionAfterSave(file);
    });
    output.commit(produce);
    markSaved(file);
}

// After a save: when it replaced the file that was loaded, that file now holds everything the
// records hold. A save elsewhere leaves the loaded file (and its need for a copy) as it was.
void HelpDataFile::markSaved(const fs::path& file) {
    std::error_code error;
    if (file != path_ && !fs::equivalent(file, path_, error))
        return;
    originalKept_ = true;
    problems_.clear();
    unreadable_ = false;
}

// Before the first save after an incomplete load: the bytes the file holds are copied beside
// it (once per distinct content), or the save is refused when they cannot be read.
void HelpDataFile::keepOriginal(const fs::path& file) {
    if (!needsCopy() || originalKept_)
        return;
    std::error_code error;
    if (!fs::exists(file, error))
        return;
    std::string bytes;
    try {
        bytes = readFileBytes(file);
    } catch (const VbError& failure) {
        throw VbError(vberr::PathFileAccess,
                      "The help data file '" + file.string() +
                          "' could not be loaded completely and cannot be " + "copied now (" +
                          failure.description() + "); it is not replaced.",
                      file.string());
    }
    fs::path copy = copyNameFor(file, bytes, copySuffix());
    if (!fs::exists(copy, error))
        replaceFileAtomically(copy, bytes);
    originalKept_ = true;
}

} // namespace corvane
