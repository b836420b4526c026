// ProjectSync: the IDE's side of a project around an editor run: what the developer changed
// is saved first, and what the editor wrote is brought into the IDE afterwards, so that the
// IDE never writes its older copy back over the editor's.
#pragma once

#include "vbaddin/ComRef.h"

#include <oaidl.h>

#include <string>
#include <vector>

namespace corvane::vbaddin {

// The files of one project as they were before the editor ran.
class ProjectSync {
public:
    // Saves every changed component, then the project itself when it changed. Returns false
    // (having saved what it could) when a changed component has no file yet.
    static bool saveChanges(IDispatch* project);

    // Reads the project file and the files of its visual components (forms, MDI forms,
    // property pages, user controls, user documents) as they are now.
    explicit ProjectSync(IDispatch* project);

    // Reloads every visual component whose file changed since, and sets the project's help
    // file and adds the related documents where the project file changed them. Returns the
    // names of the components reloaded.
    std::vector<std::wstring> refresh();

private:
    struct ComponentFile {
        ComRef<IDispatch> component;
        std::wstring path;
        std::string bytes;
    };

    void refreshProjectFile(const std::string& now);

    ComRef<IDispatch> project_;
    std::wstring projectPath_;
    std::string projectBytes_;
    std::vector<ComponentFile> components_;
};

} // namespace corvane::vbaddin
