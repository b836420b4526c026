#include "vbide/VBProject.h"

#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "platform/Utf8Path.h"
#include "text/TextCodec.h"
#include "vbide/CodePageSampling.h"
#include "vbruntime/CaseFold.h"

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
    for (const auto& entry : projectFile_->entries())
        components_.items_.push_back(VBComponent::create(entry, *paths_));
    reader_ = std::make_unique<DesignerReader>(components_.items_, codePage_, table_);
}

// The sample of the project's own text files: the project file, then its designers, modules
// and classes in project order (a path read as Windows-1252 here; a file not found is left out).
void VBProject::detectCodePage(const std::string& projectBytes) {
    detection_.emplace();
    detection_->addFile(projectBytes);
    const ProjectFile probe(projectBytes, WindowsLatin1, file_.string());
    std::vector<fs::path> files;
    for (const auto& entry : probe.entries()) {
        if (entry.type == 4 || entry.type == 10) // resources and related documents are not VB's text
            continue;
        try {
            files.push_back(paths_->resolve(entry.path));
        } catch (const VbError&) {
            // a file that cannot be found tells nothing; the component reports it when read
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
    readFiles(changed ? projectFile_->render() : readFileBytes(file_), codePage);
    if (changed)
        projectFile_->markChanged();
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
    // One flush to disk for the whole batch instead of one per file (see AtomicFile.h); the
    // files written before a failure are flushed too.
    int written = 0;
    try {
        for (const auto& component : components_) {
            if (!component->isDirty())
                continue;
            component->save(Durability::Deferred);
            ++written;
        }
        if (projectFile_->isDirty()) {
            replaceFileAtomically(file_, projectFile_->render(), Durability::Deferred);
            projectFile_->markSaved();
            ++written;
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
    if (written > 0)
        syncFileSystem(file_);
    return written;
}

} // namespace corvane::vbide
