// Property and Properties: the design-time properties of a control or a designer, as the
// IDE's Properties collection gives them. Setting a value changes the model and marks the
// file dirty; the file is written when the project is saved.
#pragma once

#include "support/Variant.h"
#include "vbide/ControlTypeTable.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::vbide {

// What the properties of one file share: its code page and whether it has unsaved changes.
struct DesignerState {
    int codePage = 1252;
    bool dirty = false;
    std::string fileName; // for messages
};

class Property {
public:
    // A property at its default value. `state` belongs to the property's file and outlives
    // the property (the collection that holds the property keeps it alive).
    Property(const PropertySpec& spec, DesignerState* state, bool readOnly)
        : spec_(&spec), state_(state), readOnly_(readOnly) {}
    // A property with a value of its own.
    Property(const PropertySpec& spec, Variant value, DesignerState* state, bool readOnly);
    Property(const Property& other);
    Property& operator=(const Property& other);
    Property(Property&&) noexcept = default;
    Property& operator=(Property&&) noexcept = default;
    ~Property() = default;

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
    void setLoadedValue(Variant value);
    // Marks the value as written to the file.
    void markSaved() noexcept { changed_ = false; }

private:
    Variant converted(const Variant& value) const;

    // A form holds thousands of properties, most at their defaults: a property keeps only
    // pointers, and a value of its own only when its file or a caller gave it one.
    const PropertySpec* spec_;
    std::unique_ptr<Variant> value_; // null: the default value of the type table
    DesignerState* state_;
    bool readOnly_;
    bool changed_ = false;
};

class Properties {
public:
    // Number of properties.
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    // The property of that name (letter case ignored); raises VbError 5 when there is none.
    Property& Item(std::string_view name);
    const Property& Item(std::string_view name) const;
    // The property at a position counted from 1; raises VbError 9 when there is none.
    Property& Item(int position);
    // True when the collection holds a property of that name (VB's ItemExists).
    bool Contains(std::string_view name) const { return find(name) != nullptr; }

    // Adds a property (building the collection).
    void add(Property property) { items_.push_back(std::move(property)); }
    // Makes room for that many properties (building the collection).
    void reserve(size_t count) { items_.reserve(count); }
    // Keeps alive what the properties' descriptions and their file's state live in (the
    // type table, the descriptions of properties the table does not know, the DesignerState).
    void keepAlive(std::shared_ptr<const void> owner) { owner_ = std::move(owner); }
    // The property of that name, or null.
    Property* find(std::string_view name);
    const Property* find(std::string_view name) const;

    std::vector<Property>::iterator begin() { return items_.begin(); }
    std::vector<Property>::iterator end() { return items_.end(); }
    std::vector<Property>::const_iterator begin() const { return items_.begin(); }
    std::vector<Property>::const_iterator end() const { return items_.end(); }

private:
    std::vector<Property> items_;
    std::shared_ptr<const void> owner_;
};

} // namespace corvane::vbide
