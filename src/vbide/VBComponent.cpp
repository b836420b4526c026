#include "vbide/VBComponent.h"

#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "text/TextCodec.h"
#include "vbide/PathResolver.h"
#include "vbruntime/CaseFold.h"

#include <map>
#include <mutex>

namespace corvane::vbide {

namespace {

std::string fileNameOf(const std::string& vbPath) {
    size_t slash = vbPath.find_last_of("\\/");
    return slash == std::string::npos ? vbPath : vbPath.substr(slash + 1);
}

std::string stemOf(const std::string& vbPath) {
    std::string name = fileNameOf(vbPath);
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// A failure to read a designer file, as the IDE reports it; a missing file says just that, and
// what else may be wrong where `advice` tells it.
VbError designerFailure(const VbError& error, const std::filesystem::path& file, const std::string& advice) {
    if (error.number() == vberr::FormControlsUnreadable)
        return error;
    if (error.number() == vberr::FileNotFound)
        return VbError(vberr::FormControlsUnreadable,
                       "File not found: '" + file.string() + "'" + (advice.empty() ? "" : "; " + advice),
                       file.string());
    return VbError(vberr::FormControlsUnreadable,
                   "Cannot read the controls of '" + file.string() + "': " + error.description(),
                   file.string());
}

// The value of the "Attribute VB_Name" line of a designer file, or nothing.
std::optional<std::string> attributeVbName(std::string_view bytes, int codePage) {
    for (const auto& line : splitLines(bytes)) {
        std::string_view text = trimBlanks(line.text);
        if (!startsWithWord(text, "Attribute") || text.find("VB_Name") == std::string_view::npos)
            continue;
        try {
            auto parts = parsePropertyLine(text.substr(text.find("VB_Name")));
            if (parts && parts->form == ValueForm::Quoted && !parts->text.empty())
                return decodeCodePage(parts->text, codePage);
        } catch (const VbError&) {
            // a line that cannot be read names nothing
        }
        return std::nullopt;
    }
    return std::nullopt;
}

// Finds the .frx files a designer refers to, beside it, reading its folder through the
// project's listings (one listing of a folder serves every designer in it); each file found is
// remembered by the name written, so that the folder is not read again for it.
class FrxFinder {
public:
    FrxFinder(const std::filesystem::path& designerFile, std::shared_ptr<FolderListings> listings)
        : paths_(designerFile.parent_path(), std::move(listings)), stem_(designerFile.stem().string()) {}

    std::optional<FrxFile> find(const std::string& frxName) {
        std::lock_guard lock(mutex_);
        auto known = found_.find(frxName);
        const bool remembered = known != found_.end();
        std::filesystem::path path = remembered ? known->second : paths_.resolve(frxName, stem_);
        std::error_code error;
        uint64_t size = std::filesystem::file_size(path, error);
        if (error && remembered) { // renamed since: looked for again
            error.clear();
            path = paths_.resolve(frxName, stem_);
            size = std::filesystem::file_size(path, error);
        }
        if (error)
            return std::nullopt;
        found_.insert_or_assign(frxName, path);
        return FrxFile{path.filename().string(), size, [path] { return readFileBytes(path); }};
    }

private:
    PathResolver paths_;
    std::string stem_;
    std::mutex mutex_; // the designer's property sets may be built on another thread than its read
    std::map<std::string, std::filesystem::path> found_; // by the name as written
};

FrxLoader frxLoaderFor(const std::filesystem::path& designerFile, std::shared_ptr<FolderListings> listings) {
    auto finder = std::make_shared<FrxFinder>(designerFile, std::move(listings));
    return [finder](const std::string& frxName) { return finder->find(frxName); };
}

} // namespace

vbide::VBControls& Designer::VBControls() {
    if (failure_)
        throw *failure_;
    return document_ ? document_->controls() : none_;
}

std::shared_ptr<VBComponent> VBComponent::load(const ProjectEntry& entry, const PathResolver& paths,
                                               int codePage,
                                               const std::shared_ptr<const ControlTypeTable>& table) {
    auto component = create(entry, paths);
    component->readContent(codePage, table);
    return component;
}

std::shared_ptr<VBComponent> VBComponent::create(const ProjectEntry& entry, const PathResolver& paths) {
    std::string name = entry.type == 1 || entry.type == 2 ? entry.name
                       : entry.type == 4 || entry.type == 10 ? fileNameOf(entry.path)
                                                             : stemOf(entry.path);
    std::shared_ptr<VBComponent> component(new VBComponent(entry.type, name, paths.resolve(entry.path)));
    component->listings_ = paths.listings();
    return component;
}

void VBComponent::readContent(int codePage, const std::shared_ptr<const ControlTypeTable>& table) {
    if (type_ >= 5 && type_ <= 9)
        readDesigner(codePage, table);
    else if (type_ == 11)
        readActiveXDesignerName(codePage);
    listings_.reset(); // the designer's own resolver keeps what it needs
}

void VBComponent::readDesigner(int codePage, const std::shared_ptr<const ControlTypeTable>& table) {
    try {
        bool whole = false; // only the designer part is read: the code after it is not needed
        std::string bytes = readFilePart(file_, designerPartEnd, whole);
        auto file = file_;
        auto reread = [file] {
            bool rest = false;
            return readFilePart(file, designerPartEnd, rest);
        };
        document_ = std::make_shared<FormDocument>(std::move(bytes), codePage, file_.string(),
                                                   frxLoaderFor(file_, listings_), table, reread);
        name_ = document_->name();
        // The IDE writes "Attribute VB_Name" right after the block; a file that has it further
        // down is read whole for it.
        if (!document_->hasAttributeName() && !whole)
            if (auto name = attributeVbName(readFileBytes(file_), codePage))
                name_ = std::move(*name);
        if (type_ == 5 && equalsIgnoreCase(document_->progId(), "VB.MDIForm"))
            type_ = 6;
    } catch (const VbError& error) {
        document_.reset();
        failure_ = designerFailure(error, file_, missingFileAdvice_);
        // Stored help text is filed under the designer's own name, which the file may still give.
        nameKnown_ = error.number() != vberr::FileNotFound && readNameOnly(codePage);
    }
    designer_ = std::make_shared<vbide::Designer>(document_, failure_);
}

void VBComponent::readActiveXDesignerName(int codePage) {
    designer_ = std::make_shared<vbide::Designer>(nullptr, std::nullopt);
    readNameOnly(codePage);
}

bool VBComponent::readNameOnly(int codePage) {
    try {
        if (auto name = attributeVbName(readFileBytes(file_), codePage)) {
            name_ = std::move(*name);
            return true;
        }
    } catch (const VbError&) {
        // the name stays the file's
    }
    return false;
}

const std::vector<LoadWarning>& VBComponent::warnings() const {
    waitForContent();
    return document_ ? document_->warnings() : noWarnings_;
}

std::string VBComponent::FileNames(int index) const {
    if (index != 1)
        throw VbError(vberr::SubscriptOutOfRange);
    return file_.string();
}

vbide::Properties& VBComponent::Properties() {
    waitForContent();
    if (failure_)
        throw *failure_;
    return document_ ? document_->designerProperties() : none_;
}

std::optional<Variant> VBComponent::whatsThisHelp() {
    waitForContent();
    if (failure_)
        throw *failure_;
    return document_ ? document_->whatsThisHelp() : std::nullopt;
}

void VBComponent::setWhatsThisHelp(bool value) {
    waitForContent();
    if (failure_)
        throw *failure_;
    if (!document_)
        throw VbError(vberr::InvalidCall, "The component '" + name_ + "' has no property 'WhatsThisHelp'");
    document_->setWhatsThisHelp(value);
}

// A failure to read the file for a save: a file that is gone is named as deleted since it was
// read, with its changes not written.
VbError VBComponent::deletedSinceRead(const VbError& error) const {
    if (error.number() != vberr::FileNotFound)
        return error;
    return VbError(vberr::FileNotFound,
                   "Cannot save '" + file_.string() +
                       "': the file was deleted or moved since it was read; its changes were not written",
                   file_.string());
}

std::optional<VBComponent::PendingSave> VBComponent::prepareSave() const {
    if (!isDirty()) // waits for the background read first
        return std::nullopt;
    std::optional<FileStamp> basedOn;
    std::string file;
    try {
        // The stamp of exactly the bytes read: a file written meanwhile is read again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            basedOn = FileStamp::at(file_);
            file = readFileBytes(file_);
            if (FileStamp::at(file_) == basedOn)
                break;
        }
    } catch (const VbError& error) {
        throw deletedSinceRead(error);
    }
    return prepareSaveOnto(std::move(file), basedOn);
}

VBComponent::PendingSave VBComponent::prepareSaveOnto(const std::filesystem::path& version,
                                                      std::optional<FileStamp> basedOn) const {
    try {
        return prepareSaveOnto(readFileBytes(version), basedOn);
    } catch (const VbError& error) {
        throw deletedSinceRead(error);
    }
}

VBComponent::PendingSave VBComponent::prepareSaveOnto(std::string file, std::optional<FileStamp> basedOn) const {
    PendingSave pending;
    pending.file = file_;
    pending.basedOn = basedOn;
    // The document keeps only the designer part: the code after it is the file's as it is now.
    const size_t partEnd = std::min(designerPartEnd(file, true), file.size());
    pending.part = file.substr(0, partEnd);
    pending.bytes = document_->renderOnto(pending.part);
    pending.renderedPart = pending.bytes.size();
    pending.bytes.append(file, partEnd);
    return pending;
}

void VBComponent::markSaved(PendingSave&& save) {
    save.bytes.resize(save.renderedPart);
    document_->markSaved(std::move(save.bytes), save.part);
}

void VBComponent::save(Durability durability) {
    std::optional<PendingSave> pending = prepareSave();
    if (!pending)
        return;
    replaceFileAtomically(file_, pending->bytes, durability);
    markSaved(std::move(*pending));
}

} // namespace corvane::vbide
