#include "vbaddin/ProjectSync.h"

#include "vbaddin/LateBound.h"
#include "vbaddin/ProjectFileLines.h"

namespace corvane::vbaddin {

namespace {

// The component types whose files the editor writes: form, MDI form, property page, user
// control, user document.
bool isVisual(long type) { return type >= 5 && type <= 9; }

std::vector<ComRef<IDispatch>> componentsOf(IDispatch* project) {
    ComRef<IDispatch> components = getObject(project, L"VBComponents");
    long count = getProperty(components.get(), L"Count").number();
    std::vector<ComRef<IDispatch>> result;
    for (long i = 1; i <= count; ++i)
        result.push_back(getObject(components.get(), L"Item", {Variant(i)}));
    return result;
}

std::wstring firstFileOf(IDispatch* component) { return getProperty(component, L"FileNames", {Variant(1L)}).text(); }

bool samePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

std::wstring resolved(const std::wstring& folder, const std::wstring& path) {
    bool absolute = (path.size() > 1 && path[1] == L':') || path.rfind(L"\\\\", 0) == 0;
    return absolute || folder.empty() ? path : folder + L"\\" + path;
}

} // namespace

bool ProjectSync::saveChanges(IDispatch* project) {
    std::vector<std::pair<ComRef<IDispatch>, std::wstring>> changed;
    for (const ComRef<IDispatch>& component : componentsOf(project)) {
        if (!getProperty(component.get(), L"IsDirty").flag())
            continue;
        std::wstring path = firstFileOf(component.get());
        if (path.empty())
            return false; // a component never saved: the developer names its file first
        changed.emplace_back(component, path);
    }
    for (const auto& [component, path] : changed)
        callMethod(component.get(), L"SaveAs", {Variant(path)});
    if (getProperty(project, L"IsDirty").flag())
        callMethod(project, L"SaveAs", {getProperty(project, L"FileName")});
    return true;
}

ProjectSync::ProjectSync(IDispatch* project)
    : project_(ComRef<IDispatch>::share(project)), projectPath_(getProperty(project, L"FileName").text()),
      projectBytes_(readWholeFile(projectPath_)) {
    for (const ComRef<IDispatch>& component : componentsOf(project)) {
        if (!isVisual(getProperty(component.get(), L"Type").number()))
            continue;
        std::wstring path = firstFileOf(component.get());
        if (!path.empty())
            components_.push_back({component, path, readWholeFile(path)});
    }
}

std::vector<std::wstring> ProjectSync::refresh() {
    std::vector<std::wstring> reloaded;
    for (const ComponentFile& file : components_) {
        if (readWholeFile(file.path) == file.bytes)
            continue;
        // The IDE's copy was saved before the editor ran: reloading loses nothing of the
        // developer's, and leaves the IDE holding exactly what the editor wrote.
        callMethod(file.component.get(), L"Reload");
        reloaded.push_back(getProperty(file.component.get(), L"Name").text());
    }
    std::string now = readWholeFile(projectPath_);
    if (now != projectBytes_)
        refreshProjectFile(now);
    return reloaded;
}

void ProjectSync::refreshProjectFile(const std::string& now) {
    std::wstring helpFile = projectValue(now, "HelpFile");
    if (helpFile != getProperty(project_.get(), L"HelpFile").text())
        putProperty(project_.get(), L"HelpFile", Variant(helpFile));
    std::wstring folder = projectPath_.substr(0, projectPath_.find_last_of(L"\\/") + 1);
    if (!folder.empty())
        folder.pop_back();
    std::vector<std::wstring> before = projectValues(projectBytes_, "RelatedDoc");
    ComRef<IDispatch> components = getObject(project_.get(), L"VBComponents");
    for (const std::wstring& document : projectValues(now, "RelatedDoc")) {
        bool known = false;
        for (const std::wstring& old : before)
            known = known || samePath(old, document);
        if (!known)
            callMethod(components.get(), L"AddFile", {Variant(resolved(folder, document)), Variant::boolean(true)});
    }
}

} // namespace corvane::vbaddin
