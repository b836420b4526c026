// FormDocument: the designer part of one form-like file in memory (.frm, .ctl, .pag, .dob):
// the designer block's lines as read and the "Attribute" lines right after it, the designer's
// own properties, and its controls. The code after that part is never kept: the file layer
// appends the file's own code when it writes (see designerPartEnd). The controls keep a
// summary; the property sets of the designer and its controls are built from the kept bytes
// when first asked for: from the bytes it kept, or, when it was given a way to read them again,
// from the file's designer part read anew (refused when it changed since; the bytes are then not
// kept in between). It renders the part again with only the changed property lines
// replaced, inserted or removed; every other byte stays as it was. It never touches the disk:
// the file layer hands it the bytes and writes what it renders.
#pragma once

#include "vbide/ControlTypeTable.h"
#include "vbide/FormLayout.h"
#include "vbide/FrxValues.h"
#include "vbide/LoadWarning.h"
#include "vbide/Property.h"
#include "vbide/TextLines.h"
#include "vbide/VBControl.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane::vbide {

class FormDocument {
public:
    // Reads a form-like file from its bytes (the whole file, or at least its designer part). `sourceName` names it in messages; `loadFrx`
    // finds the .frx files it refers to. Raises VbError 60061 naming the file and line when
    // the designer block's structure cannot be read or decoded; anything less is a warning.
    // With `rereadPart`, which reads the file's designer part again, `bytes` are that part (as
    // designerPartEnd cuts it) and are let go once the controls are summarised.
    FormDocument(std::string bytes, int codePage, std::string sourceName, FrxLoader loadFrx,
                 std::shared_ptr<const ControlTypeTable> table, std::function<std::string()> rereadPart = {});
    FormDocument(const FormDocument&) = delete;
    FormDocument& operator=(const FormDocument&) = delete;
    ~FormDocument();

    // The object's name: "Attribute VB_Name", else the name on the top Begin line.
    const std::string& name() const noexcept { return name_; }
    // The top object's type ("VB.Form", "VB.MDIForm", "VB.UserControl" ...).
    const std::string& progId() const noexcept { return progId_; }
    // The designer's own properties (the form's "Caption", "WhatsThisHelp" ...), built on first use.
    Properties& designerProperties();
    // The value of the designer's "WhatsThisHelp", or nothing when its type has none; read
    // without building the property sets until they are built.
    std::optional<Variant> whatsThisHelp() const;
    // True when the name comes from an "Attribute VB_Name" line of the designer part.
    bool hasAttributeName() const noexcept { return hasAttributeName_; }
    // The controls, depth first in file order.
    VBControls& controls() noexcept { return controls_; }
    // What could not be taken as it is while the file was read, in file order.
    const std::vector<LoadWarning>& warnings() const noexcept { return warnings_; }

    // True when a property was set since the file was read or saved.
    bool isDirty() const noexcept { return state().dirty; }
    // The designer part's bytes with the changed properties written the way the IDE writes
    // them; the file's code follows them in the file.
    std::string render() const;
    // Takes the bytes render() gave as the designer part's new content after they were written
    // (render changes only property lines, so the controls stay as they are).
    void markSaved(std::string bytes);
    // True when `part` (a file's designer part, as designerPartEnd cuts it) holds the bytes this
    // document was read from or last saved as, so that writing render() over it loses nothing
    // another program wrote. Call after render().
    bool isUnchangedPart(std::string_view part) const noexcept { return part == bytes_; }

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
    void readControls(FormLayout& layout); // takes the controls' type names from the layout
    void buildPropertySets();
    void takeBackBytes();
    // The specs of "Name", "Index", "WhatsThisHelpID", "Caption" and "WhatsThisHelp" in a type;
    // the specs of the types met while the controls are read (kept only meanwhile).
    using SummarySpecs = std::array<const PropertySpec*, 6>;
    using SummarySpecCache = std::vector<std::pair<const ControlType*, SummarySpecs>>;
    static const SummarySpecs& summarySpecsOf(const ControlType& type, SummarySpecCache& cache);
    ControlSummary summaryOf(const BlockNode& node, const FormLayout& layout, FrxValues& frx, SummarySpecCache& specs,
                             std::optional<Variant>* whatsThisHelp = nullptr);
    Properties propertiesOf(const BlockNode& node, const FormLayout& layout, FrxValues& frx, PropertyStore& store,
                            std::vector<LoadWarning>& warnings, std::shared_ptr<const void> owner);
    std::optional<Variant> valueOf(const PropertyEntry& entry, const FormLayout& layout, const PropertySpec* spec,
                                   const std::string& object, FrxValues& frx, std::vector<LoadWarning>& warnings);
    std::vector<Properties*> builtSets() const;
    void warnOfFaults(const FormLayout& layout);
    const ControlType& typeOf(std::string_view progId);
    const PropertySpec& specFor(const std::string& name, const Variant& value);
    std::map<size_t, LineEdit> collectEdits(const Parsed& parsed) const;
    static size_t insertionLine(const FormLayout& layout, size_t node, const std::string& name);

    std::string sourceName_;
    FrxLoader loadFrx_;
    std::shared_ptr<const ControlTypeTable> table_;
    std::shared_ptr<Shared> shared_; // what every control and Properties of the file keeps alive
    std::string bytes_; // the designer part as read or last written (empty when let go)
    std::function<std::string()> rereadPart_;
    size_t partSize_ = 0; // the designer part as read: its size and hash, to know it again
    uint64_t partHash_ = 0;
    std::string progId_;
    std::string name_;
    bool hasAttributeName_ = false;
    std::vector<LoadWarning> warnings_;
    std::optional<Variant> whatsThisHelp_; // the designer's flag as read
    VBControls controls_;
};

} // namespace corvane::vbide
