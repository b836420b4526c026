// VBProject and VBComponents: a project opened from its .vbp file (or a new project that
// was never saved), its components in project order, and the host's save.
#pragma once

#include "vbide/ControlTypeTable.h"
#include "vbide/DesignerReader.h"
#include "vbide/PathResolver.h"
#include "vbide/ProjectCodePage.h"
#include "vbide/ProjectFile.h"
#include "vbide/VBComponent.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane::vbide {

class VBProject;

class VBComponents {
public:
    // Number of components.
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    // The component at a position counted from 1; raises VbError 9 when there is none.
    std::shared_ptr<VBComponent> Item(int position) const;
    // The first component of that name (letter case ignored); raises VbError 9 when there is
    // none, as the IDE's collection does for a missing name.
    std::shared_ptr<VBComponent> Item(std::string_view name) const;
    // True when a component of that name exists (letter case ignored; VB's ItemExists).
    bool Contains(std::string_view name) const;
    // Adds a file. With `relatedDocument` True the file becomes a related document (a
    // "RelatedDoc=" line, relative to the project's folder when below it) and the new
    // component (type 10) is returned. Other kinds of file raise VbError 5.
    std::shared_ptr<VBComponent> AddFile(const std::string& path, bool relatedDocument);

    std::vector<std::shared_ptr<VBComponent>>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::shared_ptr<VBComponent>>::const_iterator end() const { return items_.end(); }

private:
    friend class VBProject;
    explicit VBComponents(VBProject& project) : project_(project) {}

    VBProject& project_;
    std::vector<std::shared_ptr<VBComponent>> items_;
};

class VBProject {
public:
    // Opens a project file and reads its components in `codePage`, or without one in the code
    // page detected from the project's files (ProjectCodePage, no help language stated). Raises
    // VbError 53 when the file is missing, 75 when it cannot be read, 321 naming the line of a
    // malformed project file. Components whose files are missing or malformed stay in the
    // project (see VBComponent).
    static std::shared_ptr<VBProject> open(const std::filesystem::path& path, std::optional<int> codePage = std::nullopt,
                                           std::shared_ptr<const ControlTypeTable> table = nullptr);
    // A new project that was never saved (FileName "", Name "Project1").
    static std::shared_ptr<VBProject> newUnsaved(std::string name = "Project1");

    VBProject(const VBProject&) = delete;
    VBProject& operator=(const VBProject&) = delete;

    // The project file's full path; "" for a project that was never saved.
    std::string FileName() const { return file_.string(); }
    // The project's name.
    const std::string& Name() const noexcept { return name_; }
    // The project's help file setting.
    const std::string& HelpFile() const noexcept { return helpFile_; }
    // Changes the help file setting (written into the project file when it is saved).
    void SetHelpFile(const std::string& helpFile);
    // The components in project order.
    vbide::VBComponents& VBComponents() noexcept { return components_; }

    // The code page the project's files are read and written in.
    int codePage() const noexcept { return codePage_; }
    // True when the code page was given when the project was opened, not detected.
    bool codePageGiven() const noexcept { return !detection_; }
    // What the project's files told of their code page; null when it was given.
    const ProjectCodePage* codePageDetection() const noexcept { return detection_ ? &*detection_ : nullptr; }
    // Reads the project file and the components again in another code page (the components
    // are new objects); the project file's unsaved changes are kept. Raises VbError 5 while a
    // component has unsaved changes, which would be lost, and fails as open() does.
    void setCodePage(int codePage);
    // True when the project file or a component file has unsaved changes.
    bool isDirty() const;
    // Writes every changed file (components first, then the project file) and returns how many
    // were written. Each file's changes are written onto the file as it is on disk (another
    // program, the VB6 IDE, may have saved it since it was read: see FormDocument::renderOnto and
    // ProjectFile::renderOnto), and all of them are made and checked before the first replaces
    // its file, so a file whose changes disagree with another program's, or a full disk, stops
    // the save with nothing written. Holds "<project file>.lock" meanwhile (SaveLock), and first
    // removes the temporary files a save that was stopped left beside the project's files,
    // naming each in a notice. Raises VbError 75 naming the file and the reason (files written
    // before it stay written) and for a project that was never saved.
    int save();

private:
    friend class vbide::VBComponents;
    // How long a save waits for another program's save of the project's files.
    static constexpr std::chrono::milliseconds ProjectLockWait{10000};
    // One file's new content and the component it belongs to (null: the project file).
    struct PendingWrite {
        VBComponent* component;
        VBComponent::PendingSave save;
    };
    std::vector<PendingWrite> prepareWrites();
    int commitWrites(std::vector<PendingWrite>& writes);
    void commitOverVersion(AtomicFile& file, PendingWrite& write);
    static void putBack(const AtomicFile::NewerVersion& newer, const std::filesystem::path& target);
    static AtomicFile preparedFile(const PendingWrite& write);
    PendingWrite rewriteOntoNewest(const PendingWrite& write);
    PendingWrite rewriteOnto(const PendingWrite& write, const std::filesystem::path& version,
                             std::optional<FileStamp> basedOn);
    void removeLeftTemporaries() const;
    VBProject() : components_(*this) {}
    void readFiles(std::string_view projectBytes, int codePage);
    void detectCodePage(const std::string& projectBytes);
    std::shared_ptr<VBComponent> addRelatedDocument(const std::string& path);

    std::filesystem::path file_;
    std::string name_;
    std::string helpFile_;
    int codePage_ = 1252;
    std::optional<ProjectCodePage> detection_;
    std::shared_ptr<const ControlTypeTable> table_;
    std::optional<ProjectFile> projectFile_;
    std::optional<PathResolver> paths_;
    vbide::VBComponents components_;
    std::unique_ptr<DesignerReader> reader_; // last: destroyed first, it waits for its reads
};

} // namespace corvane::vbide
