// FormLayout: the structure of a form-like file's designer block (.frm, .ctl, .pag, .dob,
// .dsr): the top object, nested controls and menus in file order, each with its property
// lines and BeginProperty groups, all by line number. The lines themselves stay with the
// caller, so that writing back touches only the lines that change.
#pragma once

#include "vbide/PropertyLine.h"
#include "vbide/TextLines.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::vbide {

// One property line, or one BeginProperty ... EndProperty group, directly inside a block.
struct PropertyEntry {
    std::string name;        // "Caption"; for a group its name ("Font", "ColumnHeader(1)")
    uint32_t line = 0;       // the property line, or the group's BeginProperty line
    uint32_t lastLine = 0;   // the line itself, or the group's EndProperty line
    uint32_t valueIndex = 0; // the parsed line in FormLayout::lineValues (not for groups)
    bool group = false;      // a BeginProperty group (not a control, not a property line)
};

// One Begin ... End block: the top object or a control.
struct BlockNode {
    std::string progId;                 // "VB.Form", "MSComctlLib.ListView"
    std::string name;                   // the object's name
    size_t beginLine = 0;               // the Begin line
    size_t endLine = 0;                 // the End line
    int depth = 0;                      // 0 for the top object
    std::vector<PropertyEntry> entries; // property lines and groups, in file order
};

// A line inside the block that is not what its place wants; the block is read all the same.
struct LineFault {
    size_t line = 0;  // the line, counted from 0
    size_t node = 0;  // the block it stands in, by its index in FormLayout::nodes
    std::string name; // the property's name, when the line has one
    std::string what; // what is wrong with it
};

// The parsed designer block.
struct FormLayout {
    std::vector<BlockNode> nodes; // depth first in file order; nodes[0] is the top object
    size_t blockEnd = 0;          // the top object's End line
    std::string attributeName;    // the value of "Attribute VB_Name" after the block, if any
    // The parsed property lines without their names, by PropertyEntry::valueIndex; the
    // reader may release them once it has taken the values.
    std::vector<PropertyLineParts> lineValues;
    // Property lines that could not be parsed: a value that could not be is kept as written
    // (PropertyLineParts::malformed), a line without a name is left out.
    std::vector<LineFault> faults;
};

// Parses the designer block of lines already decoded to UTF-8. Raises VbError 60061 naming
// `sourceName` and the line (counted from 1) of the first fault of the block's structure
// (Begin, End, BeginProperty, EndProperty); faults of property lines are left in `faults`.
FormLayout parseFormLayout(const std::vector<std::string_view>& lines, std::string_view sourceName);

// The index of the top object's End line in raw (not decoded) lines, or lines.size() when
// the block does not end. Only looks at the ASCII keywords at the start of lines, which no
// code page changes.
size_t findBlockEnd(const std::vector<std::string_view>& lines);

// Where the designer part of a form-like file's raw bytes ends: after the top object's End line
// and the "Attribute" lines right after it (the module's name and flags); the code that follows
// is not part of it. `bytes` may be the start of a longer file (`atEnd` false): then npos when
// the part does not end within them. A file whose block never ends is all designer part.
size_t designerPartEnd(std::string_view bytes, bool atEnd);

// A failure to read a designer: VbError 60061 naming the file and the line (0: no line).
[[noreturn]] void throwDesignerError(std::string_view sourceName, size_t lineNumber,
                                     std::string_view what);

} // namespace corvane::vbide
