// VBControl and VBControls: the controls of a designer as the IDE gives them, in file order,
// depth first (a container before what it contains; menus are controls too).
#pragma once

#include "vbide/Property.h"

#include <memory>
#include <string>
#include <vector>

namespace corvane::vbide {

class VBControl {
public:
    // A control of the given type with its properties.
    VBControl(std::string progId, vbide::Properties properties)
        : progId_(std::move(progId)), properties_(std::move(properties)) {}

    // The design-time properties of the control.
    vbide::Properties& Properties() noexcept { return properties_; }
    // The type name without its library prefix ("CommandButton", "ListView").
    std::string TypeName() const;
    // The type name with its library prefix ("VB.CommandButton", "MSComctlLib.ListView").
    const std::string& ProgId() const noexcept { return progId_; }

private:
    std::string progId_;
    vbide::Properties properties_;
};

class VBControls {
public:
    // Number of controls.
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    // The control at a position counted from 1; raises VbError 9 when there is none.
    std::shared_ptr<VBControl> Item(int position) const;

    // Appends a control (building the collection).
    void add(std::shared_ptr<VBControl> control) { items_.push_back(std::move(control)); }
    // Makes room for that many controls (building the collection).
    void reserve(size_t count) { items_.reserve(count); }

    std::vector<std::shared_ptr<VBControl>>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::shared_ptr<VBControl>>::const_iterator end() const { return items_.end(); }

private:
    std::vector<std::shared_ptr<VBControl>> items_;
};

} // namespace corvane::vbide
