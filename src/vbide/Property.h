// Property and Properties: the design-time properties of a control or a designer, as the
// IDE's Properties collection gives them. Setting a value changes the model and marks the
// file dirty; the file is written when the project is saved.
#pragma once

#include "vbide/ControlTypeTable.h"
#include "vbruntime/Variant.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::vbide {

class Property;

// What the properties of one file share: its code page and whether it has unsaved changes.
struct DesignerState {
    int codePage = 1252;
    bool dirty = false;
    std::string fileName; // for messages
    // The value each property changed since the last save had before its first change: a save
    // onto a file another program changed meanwhile checks that the file still holds it.
    std::vector<std::pair<const Property*, Variant>> valuesBefore;
};

class Property {
public:
    // A property at its default value. `state` belongs to the property's file and outlives
    // the property (the collection that holds the property keeps it alive).
    Property(const PropertySpec& spec, DesignerState* state, bool readOnly)
        : spec_(&spec), state_(state), readOnly_(readOnly) {}
    // A property with a value of its own.
    Property(const PropertySpec& spec, Variant value, DesignerState* state, bool readOnly)
        : spec_(&spec), state_(state), value_(std::move(value)), readOnly_(readOnly) {}

    // The property's name as the IDE spells it.
    const std::string& Name() const noexcept { return spec_->name; }
    // The current value (String, Long, Double, Boolean, or an Object for pictures and fonts).
    const Variant& Value() const noexcept { return value_ ? *value_ : spec_->defaultValue; }
    // Sets the value, converted to the property's kind; raises 13 or 6 for a value of the
    // wrong kind, 5 for a read-only property or a text the file's code page cannot hold.
    void SetValue(const Variant& value);

    // The value the property has when its file holds no line for it.
    const Variant& defaultValue() const noexcept { return spec_->defaultValue; }
    // The property's description in the control type table.
    const PropertySpec& spec() const noexcept { return *spec_; }
    // The kind of value the property holds.
    PropertyKind kind() const noexcept { return spec_->kind; }
    // True when the value was set since the file was last read or written.
    bool isChanged() const noexcept { return changed_; }
    // Takes the value read from the file (not a change).
    void setLoadedValue(Variant value) { value_ = std::move(value); }
    // Marks the value as written to the file.
    void markSaved() noexcept { changed_ = false; }

private:
    Variant converted(const Variant& value) const;

    const PropertySpec* spec_;
    DesignerState* state_;
    std::optional<Variant> value_; // none: the default value of the type table
    bool readOnly_;
    bool changed_ = false;
};

// Where the properties of one file live: addresses stay valid as properties are added. They
// are kept in chunks of 64 (a chunk never grows past its first room, so nothing moves), so
// that a file of thousands of properties makes a few dozen allocations.
class PropertyStore {
public:
    // Makes a property at the end of the store.
    template <typename... Args>
    Property& emplace_back(Args&&... args) {
        if (chunks_.empty() || chunks_.back().size() == ChunkSize) {
            std::vector<Property> chunk;
            chunk.reserve(ChunkSize); // made whole before it joins: a chunk never grows
            chunks_.push_back(std::move(chunk));
        }
        return chunks_.back().emplace_back(std::forward<Args>(args)...);
    }

private:
    static constexpr size_t ChunkSize = 64;
    std::vector<std::vector<Property>> chunks_;
};

// The properties of one control or designer. A form holds thousands of properties, most at
// their defaults, so a property of the control's type becomes an object only when its file
// gives it a value or a caller asks for it; counting, positions and walking the collection
// make every property of the type an object, in the type's order followed by the properties
// the file gives that the type does not list.
class Properties {
public:
    // An empty collection (a component without a designer).
    Properties() = default;
    // The properties of `type`, kept in `store`; `state` is the file's. `owner` keeps alive
    // what the type, the store, the state and the property descriptions live in.
    Properties(const ControlType& type, PropertyStore& store, DesignerState& state, std::shared_ptr<const void> owner);
    Properties(Properties&&) noexcept = default;
    Properties& operator=(Properties&&) noexcept = default;
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;

    // Number of properties.
    int Count() const;
    // The property of that name (letter case ignored); raises VbError 5 when there is none.
    Property& Item(std::string_view name);
    const Property& Item(std::string_view name) const;
    // The property at a position counted from 1; raises VbError 9 when there is none.
    Property& Item(int position);
    // True when the collection holds a property of that name (VB's ItemExists).
    bool Contains(std::string_view name) const;

    // The property of that name, or null.
    Property* find(std::string_view name);
    const Property* find(std::string_view name) const;
    // Makes room for that many properties made objects (building the collection).
    void reserve(size_t count) {
        items_.reserve(count);
        specs_.reserve(count);
    }
    // Adds a property the type does not list (building the collection); it is not added
    // again when the collection holds one of that name.
    Property& addExtra(const PropertySpec& spec, Variant value);
    // The properties that are objects so far, in no particular order: the only ones that can
    // hold a value of their own or a change.
    const std::vector<Property*>& materialised() const noexcept { return items_; }

    // Every property, in the collection's order.
    const std::vector<Property*>& all() const;
    std::vector<Property*>::const_iterator begin() const { return all().begin(); }
    std::vector<Property*>::const_iterator end() const { return all().end(); }

private:
    Property* materialise(const PropertySpec& spec) const;
    const PropertySpec* typeSpec(std::string_view name) const;

    const ControlType* type_ = nullptr; // kept alive by owner_
    PropertyStore* store_ = nullptr;
    DesignerState* state_ = nullptr;
    // Objects are made on first use, also by const lookups: the collection stays the same.
    mutable std::vector<Property*> items_;
    mutable std::vector<const PropertySpec*> specs_; // the description of each of items_
    mutable bool complete_ = false; // items_ holds every property, in the collection's order
    std::shared_ptr<const void> owner_;
};

} // namespace corvane::vbide
