#include "controls/ControlList.h"

#include "vbruntime/CaseFold.h"

#include <algorithm>

namespace corvane::controls {

Control& ControlList::Item(int32_t index) const {
    if (index < 0 || index >= Count())
        throw VbError(vberr::SubscriptOutOfRange, {}, "Controls");
    return *controls_[static_cast<size_t>(index)];
}

Control& ControlList::Item(std::string_view name) const {
    if (Control* control = Find(name))
        return *control;
    throw VbError(ctlerr::ControlNotFound, "Control '" + std::string(name) + "' not found");
}

Control* ControlList::Find(std::string_view name) const {
    auto it = std::find_if(controls_.begin(), controls_.end(), [name](const auto& control) {
        return equalsIgnoreCase(control->Name(), name);
    });
    return it == controls_.end() ? nullptr : it->get();
}

void ControlList::checkNewControl(std::string_view name, Control* container) const {
    if (Find(name) != nullptr)
        throw VbError(ctlerr::DuplicateControlName,
                      "There is already a control with the name '" + std::string(name) + "'");
    if (container == nullptr)
        return;
    const bool ours = std::any_of(controls_.begin(), controls_.end(),
                                  [container](const auto& control) { return control.get() == container; });
    if (!ours || !container->canContain())
        throw VbError(vberr::InvalidCall, "Invalid container for " + std::string(name));
}

void ControlList::retireAll() {
    retired_.clear(); // the previous generation: long out of any event
    for (auto& control : controls_)
        control->retire();
    retired_ = std::move(controls_);
    controls_.clear();
}

} // namespace corvane::controls
