// HelpDataFile: saving the help data safely, and its document.
#include "helpdata/HelpDataFile.h"
#include "helpdata/HelpDataComparison.h"
#include "helpdata/HelpDataWriter.h"
#include "support/AtomicFile.h"
#include "support/VbError.h"

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

// An existing copy holding `bytes`, else the first free name "<file>.damaged", ".damaged.2" ...
fs::path copyNameFor(const fs::path& file, const std::optional<std::string>& bytes) {
    fs::path candidate = file.string() + ".damaged";
    std::error_code error;
    for (int n = 2; fs::exists(candidate, error); ++n) {
        if (bytes && bytesOf(candidate) == bytes)
            return candidate;
        candidate = file.string() + ".damaged." + std::to_string(n);
    }
    return candidate;
}

} // namespace

fs::path HelpDataFile::backupPath() const {
    if (complete() || originalKept_ || unreadable_)
        return {};
    return copyNameFor(path_, bytesOf(path_));
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

void HelpDataFile::save(const ModuleRecords& forms, const NameList& formNames, const fs::path& target,
                        std::optional<FileStamp> holding) {
    // A file known to hold the save since an earlier comparison, and still that very file, is
    // kept at once; one of megabytes that already holds it is recognised on several threads.
    auto quickCheck = [&](int fd, size_t size) {
        if (holding && FileStamp::of(fd) == holding)
            return true;
        return size >= HelpDataComparison::WorthFrom &&
               HelpDataComparison(settings_, forms, formNames).holdsRecords(fd, size);
    };
    commitTo(
        target, [&](OutputBuffer& out) { HelpDataWriter(settings_, out).write(forms, formNames); }, {}, quickCheck);
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

// The one way the data file is written: under its lock, the copy of an incompletely loaded
// file first, streamed into a temporary file that replaces it; an unchanged file keeps its
// time for build tools.
void HelpDataFile::commitTo(const fs::path& target,
                            const std::function<void(OutputBuffer& out)>& produce,
                            const std::function<void()>& beforeReplace, AtomicFile::ContentCheck quickCheck) {
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
    if (complete() || originalKept_)
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
    fs::path copy = copyNameFor(file, bytes);
    if (!fs::exists(copy, error))
        replaceFileAtomically(copy, bytes);
    originalKept_ = true;
}

} // namespace corvane
