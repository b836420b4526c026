// FormDocument: one form-like file in memory (.frm, .ctl, .pag, .dob): its lines as read,
// the designer's own properties, and its controls with their properties. It renders the
// file again with only the changed property lines replaced, inserted or removed; every
// other byte stays as it was. It never touches the disk: the file layer hands it the bytes
// and writes what it renders.
#pragma once

#include "vbide/ControlTypeTable.h"
#include "vbide/FormLayout.h"
#include "vbide/FrxValues.h"
#include "vbide/LoadWarning.h"
#include "vbide/Property.h"
#include "vbide/TextLines.h"
#include "vbide/VBControl.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace corvane::vbide {

class FormDocument {
public:
    // Reads a form-like file from its bytes. `sourceName` names it in messages; `loadFrx`
    // finds the .frx files it refers to. Raises VbError 60061 naming the file and line when
    // the designer block's structure cannot be read or decoded; anything less is a warning.
    FormDocument(std::string bytes, int codePage, std::string sourceName, FrxLoader loadFrx,
                 std::shared_ptr<const ControlTypeTable> table);
    FormDocument(const FormDocument&) = delete;
    FormDocument& operator=(const FormDocument&) = delete;

    // The object's name: "Attribute VB_Name", else the name on the top Begin line.
    const std::string& name() const noexcept { return name_; }
    // The top object's type ("VB.Form", "VB.MDIForm", "VB.UserControl" ...).
    const std::string& progId() const noexcept { return progId_; }
    // The designer's own properties (the form's "Caption", "WhatsThisHelp" ...).
    Properties& designerProperties() noexcept { return designerProperties_; }
    // The controls, depth first in file order.
    VBControls& controls() noexcept { return controls_; }
    // What could not be taken as it is while the file was read, in file order.
    const std::vector<LoadWarning>& warnings() const noexcept { return warnings_; }

    // True when a property was set since the file was read or saved.
    bool isDirty() const noexcept { return state().dirty; }
    // The file's bytes with the changed properties written the way the IDE writes them.
    std::string render() const;
    // Takes the bytes render() gave as the file's new content after they were written
    // (render changes only property lines, so the controls stay as they are).
    void markSaved(std::string bytes);

private:
    struct Shared;
    struct DecodedLines;
    struct LineEdit;
    struct Parsed;
    DesignerState& state() const noexcept;
    Parsed parse(std::string_view bytes) const;
    void decodeLines(std::string_view bytes, const std::vector<size_t>& starts, DecodedLines& decoded) const;
    void decodeWholeBlock(std::string_view bytes, const std::vector<size_t>& starts, DecodedLines& decoded,
                          size_t blockLines) const;
    bool canDecodeLine(std::string_view text) const;
    void buildProperties(FormLayout& layout); // takes the controls' type names from the layout
    Properties propertiesOf(const BlockNode& node, const FormLayout& layout, FrxValues& frx);
    std::optional<Variant> valueOf(const PropertyEntry& entry, const FormLayout& layout, const PropertySpec* spec,
                                   const std::string& object, FrxValues& frx);
    void warnOfFaults(const FormLayout& layout);
    const ControlType& typeOf(std::string_view progId);
    const PropertySpec& specFor(const std::string& name, const Variant& value);
    std::map<size_t, LineEdit> collectEdits(const Parsed& parsed) const;
    static size_t insertionLine(const FormLayout& layout, size_t node, const std::string& name);

    std::string sourceName_;
    FrxLoader loadFrx_;
    std::shared_ptr<const ControlTypeTable> table_;
    std::shared_ptr<Shared> shared_; // what every Properties of the file keeps alive
    std::string bytes_; // the file as read or last written
    std::string progId_;
    std::string name_;
    std::vector<LoadWarning> warnings_;
    std::vector<Properties*> nodeProperties_; // per node: [0] the designer, then the controls
    Properties designerProperties_;
    VBControls controls_;
};

} // namespace corvane::vbide
