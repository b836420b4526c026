// RealShapedProject: writes a VB6 project shaped like the large line-of-business projects found
// in the wild, for the benchmarks that must see what such projects cost. Its forms lie in one
// folder among thousands of other files (modules, classes, pictures, reports, backups), a few
// hundred more in a second folder; their controls carry the properties the IDE writes for real
// forms (fonts, colours, sizes, tool tips, binary .frx references for icons, pictures, lists and
// long captions), nested in frames on the tabs of a tab strip; each form has a long code section.
#pragma once

#include "SyntheticProject.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace corvane::bench {

// The shape of a real-shaped project: how many forms lie where, and how crowded the big folder is.
struct RealShape {
    int mainForms = 400;      // forms in the crowded folder "Forms"
    int mainFolderFiles = 2400; // every file of that folder, forms and .frx included
    int secondForms = 200;    // forms in the folder "Dialogs"
};

namespace realshape {

// One property line as the IDE writes it: the name padded to 16 columns, then "=   value".
inline std::string line(int indent, const std::string& name, const std::string& value) {
    std::string text(static_cast<size_t>(indent), ' ');
    text += name;
    if (name.size() < 16)
        text.append(16 - name.size(), ' ');
    return text + "=   " + value + "\r\n";
}

inline std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A form's .frx file as it grows: each record appended returns the reference the .frm writes.
class FrxBuilder {
public:
    explicit FrxBuilder(std::string fileName) : fileName_(std::move(fileName)) {}

    // A picture (icon, button picture, tab picture): the 12-byte header with "lt\0\0", then data.
    std::string picture(size_t size, int seed) {
        const size_t at = bytes_.size();
        appendWord(static_cast<uint32_t>(size + 8));
        bytes_.append("lt\0\0", 4);
        appendWord(static_cast<uint32_t>(size));
        for (size_t i = 0; i < size; ++i)
            bytes_ += static_cast<char>((i * 31 + static_cast<size_t>(seed) * 7) & 0xFF);
        return reference(at);
    }
    // A long or multi-line text: four-byte length, then the bytes; the line writes it with "$".
    std::string text(const std::string& value) {
        const size_t at = bytes_.size();
        appendWord(static_cast<uint32_t>(value.size()));
        bytes_ += value;
        return "$" + reference(at);
    }
    // A combo box's or list box's List: item count, the longest item's length, then the items.
    std::string list(int items, int seed) {
        const size_t at = bytes_.size();
        appendShort(static_cast<uint16_t>(items));
        appendShort(12);
        for (int i = 0; i < items; ++i) {
            std::string item = "Item " + std::to_string(seed + i);
            appendShort(static_cast<uint16_t>(item.size()));
            bytes_ += item;
        }
        return reference(at);
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string reference(size_t at) const {
        char offset[16];
        std::snprintf(offset, sizeof offset, "%04zX", at);
        return quoted(fileName_) + ":" + offset;
    }
    void appendWord(uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    void appendShort(uint16_t value) {
        bytes_ += static_cast<char>(value & 0xFF);
        bytes_ += static_cast<char>(value >> 8);
    }
    std::string fileName_;
    std::string bytes_;
};

// A font group as the IDE writes it inside a block at `indent`.
inline std::string font(int indent, const char* face, bool bold = false) {
    std::string pad(static_cast<size_t>(indent), ' ');
    return pad + "BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} \r\n" +
           line(indent + 3, "Name", quoted(face)) + line(indent + 3, "Size", "8.25") +
           line(indent + 3, "Charset", "0") + line(indent + 3, "Weight", bold ? "700" : "400") +
           line(indent + 3, "Underline", "0   'False") + line(indent + 3, "Italic", "0   'False") +
           line(indent + 3, "Strikethrough", "0   'False") + pad + "EndProperty\r\n";
}

// The size and place lines every visible control has.
inline std::string placed(int indent, int left, int top, int width, int height, int tabIndex) {
    return line(indent, "Height", std::to_string(height)) + line(indent, "Left", std::to_string(left)) +
           line(indent, "TabIndex", std::to_string(tabIndex)) + line(indent, "Top", std::to_string(top)) +
           line(indent, "Width", std::to_string(width));
}

// What a frame's controls need while they are written: the form, its .frx, the counters.
struct FormWriter {
    FormWriter(int formIndex, std::string frxName) : form(formIndex), frx(std::move(frxName)) {}
    int form;
    FrxBuilder frx;
    int tabIndex = 0;
    int helpId = 0;
    std::string text;

    std::string nextHelpId() { return std::to_string(form * 100 + ++helpId); }

    // One field of a frame: a label and an entry control of a kind that varies along the form.
    void field(int indent, int row) {
        const std::string n = std::to_string(tabIndex);
        const std::string pad(static_cast<size_t>(indent), ' ');
        const int top = 360 + row * 420;
        text += pad + "Begin VB.Label lblField" + n + " \r\n" + line(indent + 3, "Alignment", "1  'Right Justify") +
                line(indent + 3, "BackStyle", "0  'Transparent") +
                line(indent + 3, "Caption", quoted("Field " + n + " of form " + std::to_string(form) + ":")) +
                font(indent + 3, "Tahoma") + line(indent + 3, "ForeColor", "&H80000012&") +
                placed(indent + 3, 120, top, 1335, 255, tabIndex++) + pad + "End\r\n";
        const std::string m = std::to_string(tabIndex);
        switch ((form + row) % 4) {
        case 0:
        case 1:
            text += pad + "Begin VB.TextBox txtField" + m + " \r\n" + line(indent + 3, "Appearance", "0  'Flat") +
                    line(indent + 3, "BackColor", "&H80000005&") + font(indent + 3, "Tahoma") +
                    line(indent + 3, "ForeColor", "&H80000008&") + line(indent + 3, "Height", "315") +
                    line(indent + 3, "Left", "1560") + line(indent + 3, "MaxLength", "40") +
                    line(indent + 3, "TabIndex", m) + line(indent + 3, "Text", quoted("")) +
                    line(indent + 3, "ToolTipText", quoted("Enter the value of field " + m)) +
                    line(indent + 3, "Top", std::to_string(top - 30)) +
                    line(indent + 3, "WhatsThisHelpID", nextHelpId()) + line(indent + 3, "Width", "2295") +
                    pad + "End\r\n";
            break;
        case 2:
            text += pad + "Begin VB.ComboBox cboField" + m + " \r\n" + font(indent + 3, "Tahoma") +
                    placed(indent + 3, 1560, top - 30, 2295, 315, tabIndex) +
                    line(indent + 3, "ItemData", frx.list(3, form)) + line(indent + 3, "List", frx.list(6, form)) +
                    line(indent + 3, "Style", "2  'Dropdown List") +
                    line(indent + 3, "ToolTipText", quoted("Choose the value of field " + m)) +
                    line(indent + 3, "WhatsThisHelpID", nextHelpId()) + pad + "End\r\n";
            break;
        default:
            text += pad + "Begin VB.CheckBox chkField" + m + " \r\n" +
                    line(indent + 3, "Caption", quoted("Option " + m)) + font(indent + 3, "Tahoma") +
                    placed(indent + 3, 1560, top, 2295, 255, tabIndex) + line(indent + 3, "Value", "1  'Checked") +
                    line(indent + 3, "WhatsThisHelpID", nextHelpId()) + pad + "End\r\n";
        }
        ++tabIndex;
    }

    // A frame on a tab of the tab strip, with `fields` fields; a long caption on every other.
    void frame(int tab, int fields) {
        const std::string pad(9, ' ');
        text += "      Begin VB.Frame fraTab" + std::to_string(tab) + " \r\n" +
                line(9, "Caption", quoted("Details " + std::to_string(tab))) + font(9, "Tahoma", true) +
                line(9, "ForeColor", "&H00800000&") + placed(9, 120, 480, 7095, 420 * fields + 480, tabIndex++);
        if (tab % 2 == 0)
            text += pad + "Begin VB.Label lblNote" + std::to_string(tab) + " \r\n" +
                    line(12, "Caption", frx.text("Fill every field of this page.\r\nThe values are checked when "
                                                 "the form is saved, and a field left empty is named.")) +
                    placed(12, 4000, 360, 2900, 900, tabIndex++) + pad + "End\r\n";
        for (int row = 0; row < fields; ++row)
            field(9, row);
        text += "      End\r\n";
    }
};

// The text of form `form` of a real-shaped project and its .frx (named `frxName`).
inline std::string form(int form, const std::string& name, const std::string& frxName, std::string& frxBytes) {
    FormWriter writer(form, frxName);
    std::string& text = writer.text;
    text = "VERSION 5.00\r\n"
           "Object = \"{BDC217C8-ED16-11CD-956C-0000C04E4C0A}#1.1#0\"; \"TABCTL32.OCX\"\r\n"
           "Begin VB.Form " + name + " \r\n" + line(3, "BorderStyle", "3  'Fixed Dialog") +
           line(3, "Caption", quoted("Account maintenance " + std::to_string(form))) +
           line(3, "ClientHeight", "6495") + line(3, "ClientLeft", "45") + line(3, "ClientTop", "330") +
           line(3, "ClientWidth", "7575") + font(3, "Tahoma") + line(3, "ForeColor", "&H80000012&") +
           line(3, "Icon", writer.frx.picture(1078, form)) + line(3, "KeyPreview", "-1  'True") +
           line(3, "LinkTopic", quoted("Form1")) + line(3, "MaxButton", "0   'False") +
           line(3, "MinButton", "0   'False") + line(3, "ScaleHeight", "6495") + line(3, "ScaleWidth", "7575") +
           line(3, "ShowInTaskbar", "0   'False") + line(3, "StartUpPosition", "1  'CenterOwner") +
           line(3, "WhatsThisButton", "-1  'True") + line(3, "WhatsThisHelp", "-1  'True");
    constexpr int Tabs = 3;
    const int fields = 1 + form % 3; // 1 to 3 fields a tab: about 22 controls a form
    text += "   Begin TabDlg.SSTab tabMain \r\n" + placed(6, 120, 120, 7335, 5415, writer.tabIndex++) +
            line(6, "_ExtentX", "12938") + line(6, "_ExtentY", "9551") + line(6, "_Version", "393216") +
            line(6, "Tabs", std::to_string(Tabs)) + line(6, "TabsPerRow", std::to_string(Tabs)) +
            line(6, "TabHeight", "520") + font(6, "Tahoma");
    for (int tab = 0; tab < Tabs; ++tab) {
        const std::string t = std::to_string(tab);
        text += line(6, "TabCaption(" + t + ")", quoted("Page " + t)) +
                line(6, "TabPicture(" + t + ")", writer.frx.picture(96, form + tab)) +
                line(6, "Tab(" + t + ").ControlEnabled", tab == 0 ? "-1  'True" : "0   'False") +
                line(6, "Tab(" + t + ").Control(0)", quoted("fraTab" + t)) + line(6, "Tab(" + t + ").ControlCount", "1");
    }
    for (int tab = 0; tab < Tabs; ++tab)
        writer.frame(tab, fields);
    text += "   End\r\n";
    for (const char* button : {"OK", "Cancel", "Help"}) {
        text += std::string("   Begin VB.CommandButton cmd") + button + " \r\n" + line(6, "Caption", quoted(button)) +
                font(6, "Tahoma") + line(6, "Height", "375") +
                line(6, "Left", std::to_string(3720 + 1260 * writer.helpId % 3)) +
                line(6, "Picture", writer.frx.picture(246, form)) + line(6, "Style", "1  'Graphical") +
                line(6, "TabIndex", std::to_string(writer.tabIndex++)) + line(6, "Top", "5880") +
                line(6, "WhatsThisHelpID", writer.nextHelpId()) + line(6, "Width", "1095") + "   End\r\n";
    }
    text += "End\r\nAttribute VB_Name = \"" + name + "\"\r\nAttribute VB_GlobalNameSpace = False\r\n"
            "Attribute VB_Creatable = False\r\nAttribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = False\r\n";
    text += syntheticCode(form, 30 + (form * 31) % 40);
    frxBytes = writer.frx.bytes();
    return text;
}

inline void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

} // namespace realshape

// Writes a real-shaped project into `folder` (the project file "Bank.vbp" at its top, the forms
// in "Forms" and "Dialogs" below it) and returns the project file's path. Some project entries
// spell a file's name in another letter case, as projects written on Windows do.
inline std::filesystem::path writeRealShapedProject(const std::filesystem::path& folder, RealShape shape = {}) {
    namespace fs = std::filesystem;
    const fs::path forms = folder / "Forms", dialogs = folder / "Dialogs";
    fs::create_directories(forms);
    fs::create_directories(dialogs);
    std::string project = "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#"
                          "..\\..\\WINDOWS\\system32\\stdole2.tlb#OLE Automation\r\n"
                          "Object={BDC217C8-ED16-11CD-956C-0000C04E4C0A}#1.1#0; TABCTL32.OCX\r\n";
    int files = 0;
    auto addForm = [&](const fs::path& where, const std::string& vbFolder, const std::string& name, int index) {
        std::string frx;
        realshape::writeFile(where / (name + ".frm"), realshape::form(index, name, name + ".frx", frx));
        realshape::writeFile(where / (name + ".frx"), frx);
        std::string written = name + ".frm";
        if (index % 10 == 3) // typed in another case than the file's
            for (char& c : written)
                c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        project += "Form=" + vbFolder + "\\" + written + "\r\n";
    };
    for (int i = 0; i < shape.mainForms; ++i, files += 2)
        addForm(forms, "Forms", "frmBank" + std::to_string(i), i);
    for (int i = 0; i < shape.secondForms; ++i)
        addForm(dialogs, "Dialogs", "dlgBank" + std::to_string(i), shape.mainForms + i);
    // The rest of the crowded folder: modules and classes of the project, then what collects
    // beside them over the years (pictures, reports, scripts, backups).
    const char* kinds[] = {".bmp", ".ico", ".rpt", ".sql", ".txt", ".bak", ".log", ".gif"};
    for (int i = 0; files < shape.mainFolderFiles; ++i, ++files) {
        if (i < 150) {
            std::string name = (i % 2 ? "clsBank" : "modBank") + std::to_string(i);
            std::string header = i % 2 ? "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n" : "";
            realshape::writeFile(forms / (name + (i % 2 ? ".cls" : ".bas")),
                                 header + "Attribute VB_Name = \"" + name + "\"\r\n" + syntheticCode(i, 20));
            project += (i % 2 ? "Class=" + name + "; Forms\\" + name + ".cls" : "Module=" + name + "; Forms\\" + name + ".bas") +
                       std::string("\r\n");
        } else {
            realshape::writeFile(forms / ("Item" + std::to_string(i) + kinds[i % 8]), std::string(200 + i % 300, 'x'));
        }
    }
    project += "Startup=\"frmBank0\"\r\nHelpFile=\"\"\r\nTitle=\"Bank\"\r\nName=\"Bank\"\r\n";
    realshape::writeFile(folder / "Bank.vbp", project);
    return folder / "Bank.vbp";
}

// The bytes of the files the program reads below `folder`: the project file, its forms with
// their .frx files, its modules and classes and the data file; not the other files beside them.
inline size_t projectBytes(const std::filesystem::path& folder) {
    size_t bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() && (extension == ".vbp" || extension == ".frm" || extension == ".frx" ||
                                        extension == ".bas" || extension == ".cls" ||
                                        entry.path().filename() == "ContextHelp.txt"))
            bytes += static_cast<size_t>(entry.file_size());
    }
    return bytes;
}

} // namespace corvane::bench
