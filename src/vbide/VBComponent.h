// VBComponent and Designer: one component of a project (form, module, class, related
// document ...) as the IDE gives it. Form-like components read their file when the project
// opens (in the background: see DesignerReader; what the file decides waits for the read);
// a file that cannot be read leaves the component usable by name (its "Attribute VB_Name"
// when the file has one) and type and raises VbError 60061 (naming the file and line, or the
// missing file) when its controls or properties are asked for.
#pragma once

#include "files/AtomicFile.h"
#include "files/FileStamp.h"
#include "vbide/ControlTypeTable.h"
#include "vbide/FormDocument.h"
#include "vbide/ProjectFile.h"
#include "vbide/Property.h"
#include "vbide/VBControl.h"
#include "vbruntime/VbError.h"

#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>

namespace corvane::vbide {

class FolderListings;
class PathResolver;

// The visual designer of a component: its controls.
class Designer {
public:
    // A designer over a read document, or over a failure to read it (document null), or an
    // ActiveX designer without controls (both null).
    Designer(std::shared_ptr<FormDocument> document, std::optional<VbError> failure)
        : document_(std::move(document)), failure_(std::move(failure)) {}

    // The designer's controls; raises VbError 60061 when its file could not be read.
    vbide::VBControls& VBControls();

private:
    std::shared_ptr<FormDocument> document_;
    std::optional<VbError> failure_;
    vbide::VBControls none_;
};

class VBComponent {
public:
    // Makes the component of a project line, reading its file when it has a designer.
    static std::shared_ptr<VBComponent> load(const ProjectEntry& entry, const PathResolver& paths,
                                             int codePage,
                                             const std::shared_ptr<const ControlTypeTable>& table);
    // Makes the component of a project line without reading its file (see readContent).
    static std::shared_ptr<VBComponent> create(const ProjectEntry& entry, const PathResolver& paths);
    // Reads the component's file when it has a designer. It touches only this component
    // (and the type table, which guards itself), so components may read on several threads.
    void readContent(int codePage, const std::shared_ptr<const ControlTypeTable>& table);
    // Advice a missing file's failure ends with (what the project's code page detection tried);
    // set before readContent.
    void setMissingFileAdvice(std::string advice) { missingFileAdvice_ = std::move(advice); }
    // Makes the component wait for `read` (a readContent on another thread) before it answers
    // anything its file decides; the read's failure, if it threw, is raised there.
    void readInBackground(std::shared_future<void> read) { read_ = std::move(read); }

    // The component's type: 1 module, 2 class, 4 resource file, 5 form, 6 MDI form, 7 property
    // page, 8 user control, 9 user document, 10 related document, 11 ActiveX designer.
    int Type() const {
        waitForContent();
        return type_;
    }
    // The component's name ("frmMain"; a related document's file name).
    const std::string& Name() const {
        waitForContent();
        return name_;
    }
    // The full path of the component's file; only index 1 exists (VbError 9 otherwise).
    std::string FileNames(int index) const;
    // The component's own properties (types 5 to 9: the designer's, e.g. "WhatsThisHelp";
    // other types: none). Raises VbError 60061 when the designer's file could not be read.
    vbide::Properties& Properties();
    // The value of the designer's "WhatsThisHelp" without building its property sets (nothing:
    // not a designer, or its type has none). Raises VbError 60061 as Properties() does.
    std::optional<Variant> whatsThisHelp();
    // False for a designer whose file could not give its name (missing, or unreadable without
    // an "Attribute VB_Name" line): its name is then the file's, which may not be its own.
    bool nameIsKnown() const {
        waitForContent();
        return nameKnown_;
    }
    // What could not be taken as it is while the designer's file was read (types 5 to 9).
    const std::vector<LoadWarning>& warnings() const;
    // Why the designer's file could not be read (its controls raise it), or null.
    const VbError* failure() const {
        waitForContent();
        return failure_ ? &*failure_ : nullptr;
    }
    // The visual designer (types 5 to 9 and 11), else null.
    std::shared_ptr<vbide::Designer> Designer() const {
        waitForContent();
        return designer_;
    }

    // True when a property of the component or its controls changed since the last save.
    bool isDirty() const {
        waitForContent();
        return document_ && document_->isDirty();
    }
    // Sets the designer's "WhatsThisHelp" as Properties() would, without building the property
    // sets (FormDocument::setWhatsThisHelp). Raises VbError 60061 as Properties() does.
    void setWhatsThisHelp(bool value);

    // A changed file's new content, ready to be written.
    struct PendingSave {
        std::filesystem::path file;       // the file to replace
        std::string bytes;                // its new content
        size_t renderedPart = 0;          // how many of its first bytes are the designer part
        std::string part;                 // the designer part on disk the changes were written onto
        std::optional<FileStamp> basedOn; // the version of the file they were written onto
    };
    // What a save writes now, nothing when nothing changed: the changes written onto the file's
    // designer part as it is on disk now (FormDocument::renderOnto), followed by the rest of the
    // file as it is. Reads the file only. Raises VbError 53 naming the file when it is gone, 75
    // when it cannot be read or another program changed what the changes change too.
    std::optional<PendingSave> prepareSave() const;
    // What a save writes onto the version of the file that `version` holds (another program's,
    // kept aside by AtomicFile::commitOver), to replace the version `basedOn`; raises as
    // prepareSave().
    PendingSave prepareSaveOnto(const std::filesystem::path& version, std::optional<FileStamp> basedOn) const;
    // Takes a prepared save as written to disk.
    void markSaved(PendingSave&& save);
    // Writes the changed file (atomically); does nothing when nothing changed. With
    // Durability::Deferred the caller flushes the batch to disk (see AtomicFile.h).
    void save(Durability durability = Durability::Flush);

private:
    VBComponent(int type, std::string name, std::filesystem::path file)
        : type_(type), name_(std::move(name)), file_(std::move(file)) {}
    PendingSave prepareSaveOnto(std::string file, std::optional<FileStamp> basedOn) const;
    VbError deletedSinceRead(const VbError& error) const;
    void readDesigner(int codePage, const std::shared_ptr<const ControlTypeTable>& table);
    void readActiveXDesignerName(int codePage);
    bool readNameOnly(int codePage); // the name from "Attribute VB_Name"; false when there is none
    void waitForContent() const {
        if (read_.valid())
            read_.get();
    }

    int type_;
    std::string name_;
    std::filesystem::path file_;
    std::shared_ptr<FormDocument> document_;
    std::optional<VbError> failure_;
    std::shared_ptr<vbide::Designer> designer_;
    vbide::Properties none_;
    std::vector<LoadWarning> noWarnings_;
    bool nameKnown_ = true;
    std::string missingFileAdvice_;
    std::shared_ptr<FolderListings> listings_; // the project's folder listings, until the file is read
    std::shared_future<void> read_; // the background read of the file, if any
};

} // namespace corvane::vbide
