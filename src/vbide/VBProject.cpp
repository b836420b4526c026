#include "vbide/VBProject.h"

#include "support/AtomicFile.h"
#include "support/CaseFold.h"

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

std::shared_ptr<VBProject> VBProject::open(const fs::path& path, int codePage,
                                           std::shared_ptr<const ControlTypeTable> table) {
    std::shared_ptr<VBProject> project(new VBProject());
    project->file_ = fs::absolute(path).lexically_normal();
    project->codePage_ = codePage;
    project->table_ = table ? std::move(table) : ControlTypeTable::standard();
    project->projectFile_.emplace(readFileBytes(project->file_), codePage, project->file_.string());
    project->paths_.emplace(project->file_.parent_path());
    project->name_ = project->projectFile_->name();
    project->helpFile_ = project->projectFile_->helpFile();
    for (const auto& entry : project->projectFile_->entries())
        project->components_.items_.push_back(VBComponent::create(entry, *project->paths_));
    project->reader_ = std::make_unique<DesignerReader>(project->components_.items_, codePage, project->table_);
    return project;
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
    std::string vbPath = paths_ ? paths_->relativeVbPath(path) : fs::absolute(path).string();
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
