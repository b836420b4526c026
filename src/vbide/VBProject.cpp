#include "vbide/VBProject.h"

#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "files/Notice.h"
#include "files/SaveLock.h"
#include "platform/Utf8Path.h"
#include "text/TextCodec.h"
#include "vbide/CodePageSampling.h"
#include "platform/SystemFiles.h"
#include "vbruntime/CaseFold.h"

#include <algorithm>
#include <map>
#include <set>

namespace corvane::vbide {

namespace fs = std::filesystem;

std::shared_ptr<VBComponent> VBComponents::Item(int position) const {
    if (position < 1 || position > Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return items_[static_cast<size_t>(position - 1)];
}

std::shared_ptr<VBComponent> VBComponents::Item(std::string_view name) const {
    for (const auto& component : items_)
        if (equalsIgnoreCase(component->Name(), name))
            return component;
    throw VbError(vberr::SubscriptOutOfRange,
                  "The project has no component named '" + std::string(name) + "'");
}

bool VBComponents::Contains(std::string_view name) const {
    for (const auto& component : items_)
        if (equalsIgnoreCase(component->Name(), name))
            return true;
    return false;
}

std::shared_ptr<VBComponent> VBComponents::AddFile(const std::string& path, bool relatedDocument) {
    if (!relatedDocument)
        throw VbError(vberr::InvalidCall, "Only related documents can be added: '" + path + "'");
    return project_.addRelatedDocument(path);
}

std::shared_ptr<VBProject> VBProject::open(const fs::path& path, std::optional<int> codePage,
                                           std::shared_ptr<const ControlTypeTable> table) {
    std::shared_ptr<VBProject> project(new VBProject());
    project->file_ = fs::absolute(path).lexically_normal();
    project->table_ = table ? std::move(table) : ControlTypeTable::standard();
    project->paths_.emplace(project->file_.parent_path());
    std::string bytes = readFileBytes(project->file_);
    if (!codePage) {
        project->detectCodePage(bytes);
        codePage = project->detection_->choose({});
    }
    project->readFiles(bytes, *codePage);
    return project;
}

// The project file's settings and components in a code page, in place of those read before;
// the designers are read in the background. A project file that cannot be read changes nothing.
void VBProject::readFiles(std::string_view projectBytes, int codePage) {
    ProjectFile projectFile(projectBytes, codePage, file_.string());
    reader_.reset(); // waits for the reads under way
    components_.items_.clear();
    codePage_ = codePage;
    projectFile_.emplace(std::move(projectFile));
    name_ = projectFile_->name();
    helpFile_ = projectFile_->helpFile();
    const ReferenceCodePages* references = detection_ ? &detection_->references() : nullptr;
    paths_->listings()->keep(); // one listing of each folder for every file found there
    for (const auto& entry : projectFile_->entries()) {
        components_.items_.push_back(VBComponent::create(entry, *paths_));
        const size_t index = components_.items_.size() - 1;
        if (references && std::ranges::find(references->unresolved, index) != references->unresolved.end())
            components_.items_.back()->setMissingFileAdvice(references->advice());
    }
    reader_ = std::make_unique<DesignerReader>(components_.items_, codePage_, table_, paths_->listings());
}

// The sample of the project's own text files: the project file, then its designers, modules
// and classes in project order (their names read in the code page the references tell, else
// Windows-1252; a file not found is left out),
// and what the references to them tell.
void VBProject::detectCodePage(const std::string& projectBytes) {
    detection_.emplace();
    detection_->addFile(projectBytes);
    const ProjectFile probe(projectBytes, WindowsLatin1, file_.string());
    std::vector<std::string> references; // each entry's path as the project file's bytes hold it
    for (const auto& entry : probe.entries()) {
        // Resources and related documents are not VB's text; their names are any program's.
        const bool vbText = entry.type != 4 && entry.type != 10;
        references.push_back(vbText ? encodeCodePage(entry.path, WindowsLatin1) : std::string());
    }
    detection_->setReferences(
        ReferenceCodePages::check(references, *paths_, ReferenceCodePages::candidates(WindowsLatin1)));
    // The files are found under the names the references tell best.
    const int namesCodePage =
        detection_->references().tell() ? detection_->references().fitting.front() : WindowsLatin1;
    std::vector<fs::path> files;
    for (const std::string& reference : references) {
        if (reference.empty())
            continue;
        try {
            files.push_back(paths_->resolve(decodeCodePage(reference, namesCodePage)));
        } catch (const VbError&) {
            // a name the code page cannot read, or a file that cannot be found, tells nothing;
            // the component reports it when read
        }
    }
    addFilesToSample(*detection_, files);
    detection_->detect();
}

void VBProject::setCodePage(int codePage) {
    if (codePage == codePage_)
        return;
    if (!projectFile_)
        throw VbError(vberr::InvalidCall, "The project '" + name_ + "' has never been saved; it has no files to read");
    for (const auto& component : components_)
        if (component->isDirty())
            throw VbError(vberr::InvalidCall, "The project '" + name_ + "' has unsaved changes in '" +
                                                  component->Name() +
                                                  "'; save them before it is read in another code page");
    // The project file's own unsaved lines (a related document added, the help file set) stay:
    // what the program writes there is ASCII or text read from the files, encoded back into the
    // bytes it was read from, which the other code page reads as it reads the rest.
    const bool changed = projectFile_->isDirty();
    const ProjectFile earlier = *projectFile_;
    readFiles(changed ? earlier.render() : readFileBytes(file_), codePage);
    if (changed)
        projectFile_->takeChangesOf(earlier);
}

std::shared_ptr<VBProject> VBProject::newUnsaved(std::string name) {
    std::shared_ptr<VBProject> project(new VBProject());
    project->name_ = std::move(name);
    project->table_ = ControlTypeTable::standard();
    return project;
}

void VBProject::SetHelpFile(const std::string& helpFile) {
    if (projectFile_)
        projectFile_->setHelpFile(helpFile);
    helpFile_ = helpFile;
}

std::shared_ptr<VBComponent> VBProject::addRelatedDocument(const std::string& path) {
    std::string vbPath = paths_ ? paths_->relativeVbPath(platform::pathFromUtf8(path)) : platform::utf8Of(fs::absolute(platform::pathFromUtf8(path)));
    ProjectEntry entry{0, 10, "RelatedDoc", "", vbPath};
    if (projectFile_)
        entry = projectFile_->addRelatedDocument(vbPath);
    PathResolver fallback(fs::current_path());
    auto component = VBComponent::load(entry, paths_ ? *paths_ : fallback, codePage_, table_);
    components_.items_.push_back(component);
    return component;
}

bool VBProject::isDirty() const {
    if (projectFile_ && projectFile_->isDirty())
        return true;
    for (const auto& component : components_)
        if (component->isDirty())
            return true;
    return false;
}

int VBProject::save() {
    if (!projectFile_)
        throw VbError(vberr::PathFileAccess,
                      "The project '" + name_ + "' has never been saved; it has no file to write");
    // One program writes a project's files at a time ("<project>.vbp.lock"); what an earlier
    // one left when it was stopped goes first.
    SaveLock lock(file_, ProjectLockWait);
    removeLeftTemporaries();
    std::vector<PendingWrite> writes = prepareWrites();
    int written = commitWrites(writes);
    if (written > 0)
        syncFileSystem(file_);
    lock.release(file_);
    return written;
}

// Every change written onto its file as the file is on disk now, before any file is written:
// a file another program changed where this program changes it too stops the save with
// nothing written.
std::vector<VBProject::PendingWrite> VBProject::prepareWrites() {
    std::vector<PendingWrite> writes;
    for (const auto& component : components_)
        if (auto pending = component->prepareSave())
            writes.push_back({component.get(), std::move(*pending)});
    if (projectFile_->isDirty())
        writes.push_back(rewriteOnto(PendingWrite{nullptr, {}}, file_, FileStamp::at(file_)));
    return writes;
}

// Each new file is made whole beside its target before the first one takes its place (a full
// disk stops the save there, with nothing replaced); then each replaces its target, unless
// another program wrote that file again since it was read: its changes are then written onto
// that version. Returns how many files were written.
int VBProject::commitWrites(std::vector<PendingWrite>& writes) {
    std::vector<AtomicFile> files;
    files.reserve(writes.size());
    for (PendingWrite& write : writes) {
        files.emplace_back(write.save.file, fs::path(), Durability::Deferred);
        files.back().prepare([&write](OutputBuffer& out) { out.append(write.save.bytes); });
    }
    int written = 0;
    try {
        for (size_t i = 0; i < writes.size(); ++i) {
            PendingWrite& write = writes[i];
            if (FileStamp::at(write.save.file) != write.save.basedOn) {
                write = rewriteOntoNewest(write);
                files[i] = preparedFile(write);
            }
            commitOverVersion(files[i], write);
            ++written;
            if (write.component)
                write.component->markSaved(std::move(write.save));
            else
                projectFile_->markSaved(write.save.bytes);
        }
    } catch (const VbError&) {
        try {
            if (written > 0)
                syncFileSystem(file_);
        } catch (const VbError&) {
            // the failure being raised says more than this one
        }
        throw;
    }
    return written;
}

// Puts `file`, prepared from `write`, in place over the version the write was made on. A
// version another program put there in the moment before is not lost: the changes are made
// again onto it, and that goes in place in its turn (`write` then holds what was written).
void VBProject::commitOverVersion(AtomicFile& file, PendingWrite& write) {
    constexpr int rounds = 5;
    std::optional<AtomicFile::NewerVersion> newer;
    for (int round = 0; round < rounds; ++round) {
        std::optional<AtomicFile::NewerVersion> next;
        if (write.save.basedOn)
            next = file.commitOver(*write.save.basedOn);
        else
            file.commit(); // the file was gone when it was read: nothing to keep
        if (newer && newer->keptAside)
            platform::removeFile(newer->file); // its changes are in place now, or superseded by `next`
        newer = std::move(next);
        if (!newer)
            return;
        try {
            write = rewriteOnto(write, newer->file, newer->replaceNext);
        } catch (const VbError&) {
            putBack(*newer, write.save.file);
            throw;
        }
        file = preparedFile(write);
    }
    putBack(*newer, write.save.file);
    throw VbError(vberr::PathFileAccess,
                  "Cannot save '" + write.save.file.string() + "': another program wrote it again each of " +
                      std::to_string(rounds) + " times Corvane was about to replace it; Corvane's changes to it were not written",
                  write.save.file.string());
}

// Puts another program's version that commitOver() kept aside back in place of the one that
// replaced it; a version that came in meanwhile stays where it was put, and the kept one too.
void VBProject::putBack(const AtomicFile::NewerVersion& newer, const fs::path& target) {
    if (!newer.keptAside || platform::exchangeFiles(newer.file, target) != 0)
        return;
    const std::optional<FileStamp> swapped = FileStamp::at(newer.file);
    if (swapped && newer.replaceNext && swapped->sameVersion(*newer.replaceNext))
        platform::removeFile(newer.file); // this program's own version, which nobody wanted
}

// An AtomicFile that holds the write's content, made beside its target.
AtomicFile VBProject::preparedFile(const PendingWrite& write) {
    AtomicFile file(write.save.file, fs::path(), Durability::Deferred);
    file.prepare([&write](OutputBuffer& out) { out.append(write.save.bytes); });
    return file;
}

// A write prepared again onto the file another program saved after it was prepared.
VBProject::PendingWrite VBProject::rewriteOntoNewest(const PendingWrite& write) {
    if (write.component) {
        auto pending = write.component->prepareSave();
        return {write.component, std::move(*pending)};
    }
    return rewriteOnto(write, file_, FileStamp::at(file_));
}

// A write prepared again onto the version of its file that `version` holds, to replace the
// version `basedOn`.
VBProject::PendingWrite VBProject::rewriteOnto(const PendingWrite& write, const fs::path& version,
                                               std::optional<FileStamp> basedOn) {
    if (write.component)
        return {write.component, write.component->prepareSaveOnto(version, basedOn)};
    PendingWrite project{nullptr, {}};
    project.save.file = file_;
    project.save.basedOn = basedOn;
    project.save.part = readFileBytes(version);
    project.save.bytes = projectFile_->renderOnto(project.save.part);
    return project;
}

// Temporary files of the project's own files ("<file>.XXXXXX.tmp" beside the project file and
// its designers) that a save stopped before its rename left: removed, each named in a notice.
// Only a save of the project makes them, and the caller holds the project's lock.
void VBProject::removeLeftTemporaries() const {
    std::map<fs::path, std::set<std::string>> namesByFolder;
    namesByFolder[file_.parent_path()].insert(file_.filename().string());
    for (const auto& component : components_)
        if (component->Type() >= 5 && component->Type() <= 9) {
            const fs::path file = platform::pathFromUtf8(component->FileNames(1));
            namesByFolder[file.parent_path()].insert(file.filename().string());
        }
    for (const auto& [folder, names] : namesByFolder)
        for (const fs::path& left : temporaryFilesIn(folder, names)) {
            if (platform::removeFile(left) == 0)
                notice("Removed '" + left.string() + "', a temporary file that an interrupted save of the project left");
        }
}

} // namespace corvane::vbide
