#include "vbide/Property.h"

#include "text/TextCodec.h"
#include "vbide/TextLines.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>

namespace corvane::vbide {

Variant Property::converted(const Variant& value) const {
    switch (spec_->kind) {
    case PropertyKind::Long:
        return Variant(value.toLong());
    case PropertyKind::Double:
        return Variant(value.toDouble());
    case PropertyKind::Boolean:
        return Variant(value.toBool());
    case PropertyKind::Object:
        throw VbError(vberr::InvalidCall, "The property '" + spec_->name + "' cannot be set here");
    case PropertyKind::String:
        break;
    }
    std::string text = value.toText();
    if (text.find_first_of("\r\n") != std::string::npos)
        throw VbError(vberr::InvalidCall,
                      "The property '" + spec_->name + "' cannot hold a line break in a form file");
    int codePage = state_ ? state_->codePage : WindowsLatin1;
    if (!canEncode(text, codePage))
        throw VbError(vberr::InvalidCall, "The code page " + std::to_string(codePage) + " of '" +
                                              (state_ ? state_->fileName : "") + "' cannot hold " +
                                              unencodableCharacters(text, codePage) +
                                              " of the value of '" + spec_->name + "'");
    return Variant(std::move(text));
}

void Property::SetValue(const Variant& value) {
    if (readOnly_)
        throw VbError(vberr::InvalidCall, "The property '" + spec_->name + "' cannot be set here");
    Variant next = converted(value);
    if (next.kind() == Value().kind() && next == Value())
        return;
    if (!changed_ && state_)
        state_->valuesBefore.emplace_back(this, Value());
    setLoadedValue(std::move(next));
    changed_ = true;
    if (state_)
        state_->dirty = true;
}

namespace {

// A file's "Name" cannot be changed through the properties, nor can pictures and fonts.
bool isReadOnly(const PropertySpec& spec) {
    return spec.kind == PropertyKind::Object || spec.name == "Name";
}

} // namespace

Properties::Properties(const ControlType& type, PropertyStore& store, DesignerState& state,
                       std::shared_ptr<const void> owner)
    : type_(&type), store_(&store), state_(&state), owner_(std::move(owner)) {}

int Properties::Count() const {
    return static_cast<int>(all().size());
}

const PropertySpec* Properties::typeSpec(std::string_view name) const {
    return type_ ? type_->find(name) : nullptr;
}

Property* Properties::materialise(const PropertySpec& spec) const {
    Property& made = store_->emplace_back(spec, state_, isReadOnly(spec));
    items_.push_back(&made);
    specs_.push_back(&spec);
    return &made;
}

Property* Properties::find(std::string_view name) {
    // A property of the type is made from the type's description, so the description tells
    // whether it is made already; comparing addresses is cheaper than comparing names.
    if (const PropertySpec* spec = typeSpec(name)) {
        for (size_t i = 0; i < specs_.size(); ++i) // side by side: no visit to each property
            if (specs_[i] == spec)
                return items_[i];
        return complete_ ? nullptr : materialise(*spec);
    }
    for (size_t i = 0; i < specs_.size(); ++i) // the properties the type does not list
        if (equalsIgnoreCase(specs_[i]->name, name))
            return items_[i];
    return nullptr;
}

const Property* Properties::find(std::string_view name) const {
    return const_cast<Properties*>(this)->find(name);
}

bool Properties::Contains(std::string_view name) const {
    if (typeSpec(name))
        return true; // made already or made on first use
    for (const PropertySpec* spec : specs_)
        if (equalsIgnoreCase(spec->name, name))
            return true;
    return false;
}

Property& Properties::addExtra(const PropertySpec& spec, Variant value) {
    Property* item = find(spec.name);
    if (!item) {
        complete_ = false;
        item = materialise(spec);
    }
    item->setLoadedValue(std::move(value));
    return *item;
}

const std::vector<Property*>& Properties::all() const {
    if (complete_ || !type_)
        return items_;
    std::vector<Property*> ordered;
    std::vector<const PropertySpec*> orderedSpecs = type_->properties;
    ordered.reserve(orderedSpecs.size() + items_.size());
    for (const PropertySpec* spec : orderedSpecs) {
        auto made = std::find(specs_.begin(), specs_.end(), spec);
        ordered.push_back(made != specs_.end() ? items_[static_cast<size_t>(made - specs_.begin())]
                                               : &store_->emplace_back(*spec, state_, isReadOnly(*spec)));
    }
    for (size_t i = 0; i < items_.size(); ++i) // properties the file gives that the type does not list
        if (std::find(type_->properties.begin(), type_->properties.end(), specs_[i]) == type_->properties.end()) {
            ordered.push_back(items_[i]);
            orderedSpecs.push_back(specs_[i]);
        }
    items_ = std::move(ordered);
    specs_ = std::move(orderedSpecs);
    complete_ = true;
    return items_;
}

Property& Properties::Item(std::string_view name) {
    if (Property* item = find(name))
        return *item;
    throw VbError(vberr::InvalidCall, "The object has no property '" + std::string(name) + "'");
}

const Property& Properties::Item(std::string_view name) const {
    return const_cast<Properties*>(this)->Item(name);
}

Property& Properties::Item(int position) {
    const std::vector<Property*>& items = all();
    if (position < 1 || position > static_cast<int>(items.size()))
        throw VbError(vberr::SubscriptOutOfRange);
    return *items[static_cast<size_t>(position - 1)];
}

} // namespace corvane::vbide
