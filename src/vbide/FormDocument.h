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
#include <string_view>
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

    // Sets the designer's "WhatsThisHelp" as designerProperties() would, without building the
    // property sets when they are not built yet; raises VbError 5 when its type has none.
    void setWhatsThisHelp(bool value);

    // True when a property was set since the file was read or saved.
    bool isDirty() const noexcept { return state().dirty; }
    // The designer part's bytes with the changed properties written the way the IDE writes
    // them; the file's code follows them in the file.
    std::string render() const;
    // The changes written onto `part`, the file's designer part as it is on disk now (as
    // designerPartEnd cuts it). When another program saved the file since it was read, each
    // change finds its control there by name and index, and is written only where the property
    // still holds the value it had before the change (a control gone there takes none); every
    // other byte of `part` stays. Raises VbError 75 naming the file, and each control and
    // property the other program changed too, or saying why `part` cannot be read; the caller
    // then writes nothing.
    std::string renderOnto(std::string_view part) const;
    // True when `part` holds the bytes this document was read from or last saved as, so that
    // its blocks are the document's own.
    bool isReadPart(std::string_view part) const;
    // Takes the bytes render() or renderOnto() gave for `part` as written. Onto a part of
    // another program, the file's blocks are no longer the document's: later saves find their
    // controls by name, and the property sets can no longer be built.
    void markSaved(std::string bytes, std::string_view part);
    // The same for bytes render() gave, which replace the part read.
    void markSaved(std::string bytes);

private:
    struct Shared;
    struct DecodedLines;
    // Changes to one line of the file.
    struct LineEdit {
        bool remove = false;
        std::optional<std::string> replacement;                   // encoded, without line end
        std::vector<std::pair<std::string, std::string>> inserts; // folded name, encoded line
    };
    // The file's lines and its parsed designer block.
    struct Parsed {
        std::vector<size_t> starts; // lineStarts of the bytes
        FormLayout layout;
    };
    // A change of a summarised property made while the sets were not built.
    struct SummaryChange {
        size_t node;
        std::string name;
        Variant before;
        Variant value;
    };
    // A property to write: in block `node` of the part as read, from `before` to `value`.
    struct Change {
        size_t node;
        const PropertySpec* spec;
        std::string name;
        Variant before;
        Variant value;
    };
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
    std::vector<Change> pendingChanges() const;
    std::vector<size_t> blocksOnto(const FormLayout& layout, const std::vector<Change>& changes, bool asRead) const;
    std::string keyOfBlock(size_t node) const;
    void addLineEdit(std::map<size_t, LineEdit>& edits, const Parsed& parsed, std::string_view bytes, size_t node,
                     const PropertyEntry* entry, const Change& change) const;
    static size_t insertionLine(const FormLayout& layout, size_t node, const std::string& name);
    void forgetChanges(); // after a save: nothing is changed any more
    void changeSummarised(size_t node, std::string_view name, const Variant& before, const Variant& value);
    bool setsBuilt() const;
    void buildSets() const; // builds the property sets (taking back the bytes when let go)

    std::string sourceName_;
    FrxLoader loadFrx_;
    std::shared_ptr<const ControlTypeTable> table_;
    std::shared_ptr<Shared> shared_; // what every control and Properties of the file keeps alive
    std::string bytes_; // the designer part as read or last written (empty when let go)
    std::function<std::string()> rereadPart_;
    size_t partSize_ = 0; // the designer part as read: its size and hash, to know it again
    uint64_t partHash_ = 0;
    bool savedElsewhere_ = false; // saved onto another program's part: the blocks are not the file's
    std::vector<SummaryChange> summaryChanges_; // one per property, while the sets are not built
    std::string progId_;
    std::string name_;
    bool hasAttributeName_ = false;
    std::vector<LoadWarning> warnings_;
    std::optional<Variant> whatsThisHelp_; // the designer's flag as read
    VBControls controls_;
};

} // namespace corvane::vbide
