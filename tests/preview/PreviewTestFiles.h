// Helpers shared by the preview's tests: small VB6 projects written into a temporary folder.
#pragma once

#include "preview/FormSketch.h"
#include "testsupport/TempDir.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::preview::testfiles {

// The text of a form-like file: the top object `progId name` holding `body` (property lines
// and nested Begin ... End blocks, as the IDE writes them).
inline std::string designerFile(std::string_view progId, std::string_view name, std::string_view body) {
    std::string text = "VERSION 5.00\r\nBegin ";
    text.append(progId).append(" ").append(name).append("\r\n").append(body);
    text.append("End\r\nAttribute VB_Name = \"").append(name).append("\"\r\n");
    return text;
}

// Writes a project "Proj.vbp" with the given component lines ("Form=frmA.frm") and files
// (file name, content); returns the project file.
inline std::filesystem::path writeProject(const corvane::test::TempDir& temp,
                                          const std::vector<std::string>& componentLines,
                                          const std::vector<std::pair<std::string, std::string>>& files) {
    std::string vbp = "Type=Exe\r\n";
    for (const std::string& line : componentLines)
        vbp += line + "\r\n";
    vbp += "Name=\"Proj\"\r\n";
    for (const auto& [name, content] : files)
        corvane::test::writeFile(temp / name, content);
    corvane::test::writeFile(temp / "Proj.vbp", vbp);
    return temp / "Proj.vbp";
}

// The position of the item keyed `key` in the sketch's items, -1 when it has none.
inline int itemIndex(const FormSketch& sketch, const std::string& key) {
    for (size_t i = 0; i < sketch.items.size(); ++i)
        if (sketch.items[i].key == key)
            return static_cast<int>(i);
    return -1;
}

} // namespace corvane::preview::testfiles
