// VBControl and VBControls: the controls of a designer as the IDE gives them, in file order,
// depth first (a container before what it contains; menus are controls too).
//
// A control keeps a summary of what the program reads of every control (name, index,
// caption, context number, where its block begins); the full set of its properties is built
// from its file's designer block when first asked for (Properties()), for the whole file at
// once. What the summary answers comes from the properties once they are built, so that a
// change made through them is seen.
#pragma once

#include "vbide/Property.h"
#include "vbruntime/NamePool.h"
#include "vbruntime/ShortText.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::vbide {

// What the program reads of every control, taken when its file is read.
struct ControlSummary {
    std::optional<std::string> name;            // "Name" (none: the type has no such property)
    std::optional<int32_t> index;               // "Index" (-1: not in a control array)
    std::optional<int32_t> whatsThisHelpID;     // "WhatsThisHelpID" (none: the type has none)
    std::optional<Variant> caption;             // "Caption" (none: the type has none)
    uint32_t beginLine = 0;                     // the control's Begin line, counted from 0
};

// Where the property sets of a file's controls come from: built on first use.
class PropertySource {
public:
    virtual ~PropertySource() = default;
    // The properties of the block at `node` (0: the designer, then the controls in order);
    // builds every block's set on first use.
    virtual vbide::Properties& propertiesOf(size_t node) = 0;
    // True once the sets are built.
    virtual bool built() const = 0;
    // Keeps a change of a summarised property of the block at `node` (from `before` to `value`)
    // for the next save, while the sets are not built; building them takes it into them.
    virtual void changeSummarised(size_t node, std::string_view name, const Variant& before, const Variant& value) = 0;
};

class VBControl {
public:
    // A control of the given type, block `node` of its file, whose properties `source` builds;
    // the source outlives the control (it holds the file's controls).
    VBControl(std::string_view progId, ControlSummary summary, PropertySource& source, size_t node);

    // The design-time properties of the control (built on first use).
    vbide::Properties& Properties() { return source_->propertiesOf(node_); }
    // The type name without its library prefix ("CommandButton", "ListView").
    std::string TypeName() const;
    // The type name with its library prefix ("VB.CommandButton", "MSComctlLib.ListView").
    const std::string& ProgId() const noexcept { return *progId_; }

    // The value of "Name"; raises VbError 5 when the control has no such property.
    std::string name() const;
    // The value of "Index"; raises VbError 5 when the control has no such property.
    int32_t index() const;
    // The value of "WhatsThisHelpID", or nothing when the control has no such property.
    std::optional<int32_t> whatsThisHelpID() const;
    // Sets "WhatsThisHelpID" as Properties() would, without building the property sets when
    // they are not built yet (the summary keeps the change for the save); raises VbError 5 when
    // the control has no such property.
    void setWhatsThisHelpID(int32_t id);
    // The value of "Caption" as text (Utilities::ValueText: "" for Empty and Null), or nothing
    // when the control has no such property; raises VbError 13 for a value that has no text.
    std::optional<std::string> captionText() const;
    // The control's Begin line in its file, counted from 0.
    uint32_t beginLine() const noexcept { return beginLine_; }

private:
    const Property* builtProperty(std::string_view name) const;

    // Which properties of the summary the control's type has.
    enum Has : uint8_t { HasName = 1, HasIndex = 2, HasHelpId = 4, HasCaption = 8, CaptionHasNoText = 16 };

    // The summary is kept packed, the optional fields as flags: a project of a million controls
    // holds a million of these, side by side in their files' shared blocks: 72 bytes each.
    // The caption is kept as the text it is read for, not as a Variant of four times the size.
    const std::string* progId_; // a project's controls are of a few types: each kept once
    ShortText name_;
    ShortText caption_;
    int32_t index_ = 0;
    int32_t whatsThisHelpID_ = 0;
    uint32_t beginLine_ = 0;
    uint32_t node_ = 0; // a designer's blocks are counted in 32 bits, as its lines are
    uint8_t has_ = 0;
    PropertySource* source_;
};

class VBControls {
public:
    // Walks the controls in order, handing out each as a pointer that keeps its form alive.
    class ControlIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::shared_ptr<VBControl>;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::shared_ptr<VBControl>;

        // An iterator that stands nowhere.
        ControlIterator() = default;
        // The control the iterator stands at.
        std::shared_ptr<VBControl> operator*() const { return {*owner_, at_}; }
        // Steps to the next control.
        ControlIterator& operator++() {
            ++at_;
            return *this;
        }
        // Steps to the next control, giving the iterator as it stood.
        ControlIterator operator++(int) {
            ControlIterator before = *this;
            ++at_;
            return before;
        }
        // True when both stand at the same control.
        bool operator==(const ControlIterator& other) const { return at_ == other.at_; }

    private:
        friend class VBControls;
        ControlIterator(const std::shared_ptr<void>* owner, VBControl* at) : owner_(owner), at_(at) {}
        const std::shared_ptr<void>* owner_ = nullptr;
        VBControl* at_ = nullptr;
    };
    // The name standard algorithms look for.
    using const_iterator = ControlIterator;

    // Number of controls.
    int Count() const noexcept { return static_cast<int>(count_); }
    // The control at a position counted from 1; raises VbError 9 when there is none.
    std::shared_ptr<VBControl> Item(int position) const;

    // Takes the `count` controls that lie side by side from `first`, in a block `owner` keeps
    // alive (building the collection): a form's controls cost no pointer each.
    void assign(std::shared_ptr<void> owner, VBControl* first, size_t count) {
        owner_ = std::move(owner);
        first_ = first;
        count_ = count;
    }

    const_iterator begin() const { return {&owner_, first_}; }
    const_iterator end() const { return {&owner_, first_ + count_}; }

private:
    std::shared_ptr<void> owner_;
    VBControl* first_ = nullptr;
    size_t count_ = 0;
};

} // namespace corvane::vbide
