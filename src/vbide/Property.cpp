#include "vbide/Property.h"

#include "support/CaseFold.h"
#include "support/TextCodec.h"
#include "support/VbError.h"
#include "vbide/TextLines.h"

namespace corvane::vbide {

Property::Property(const PropertySpec& spec, Variant value, DesignerState* state, bool readOnly)
    : spec_(&spec), value_(std::make_unique<Variant>(std::move(value))), state_(state), readOnly_(readOnly) {}

Property::Property(const Property& other)
    : spec_(other.spec_), value_(other.value_ ? std::make_unique<Variant>(*other.value_) : nullptr),
      state_(other.state_), readOnly_(other.readOnly_), changed_(other.changed_) {}

Property& Property::operator=(const Property& other) {
    if (this != &other)
        *this = Property(other);
    return *this;
}

void Property::setLoadedValue(Variant value) {
    if (value_)
        *value_ = std::move(value);
    else
        value_ = std::make_unique<Variant>(std::move(value));
}

Variant Property::converted(const Variant& value) const {
    switch (spec_->kind) {
    case PropertyKind::Long: return Variant(value.toLong());
    case PropertyKind::Double: return Variant(value.toDouble());
    case PropertyKind::Boolean: return Variant(value.toBool());
    case PropertyKind::Object:
        throw VbError(vberr::InvalidCall, "The property '" + spec_->name + "' cannot be set here");
    case PropertyKind::String: break;
    }
    std::string text = value.toText();
    if (text.find_first_of("\r\n") != std::string::npos)
        throw VbError(vberr::InvalidCall, "The property '" + spec_->name +
                                              "' cannot hold a line break in a form file");
    int codePage = state_ ? state_->codePage : WindowsLatin1;
    if (!canEncode(text, codePage))
        throw VbError(vberr::InvalidCall, "The code page " + std::to_string(codePage) +
                                              " of '" + (state_ ? state_->fileName : "") +
                                              "' cannot hold " +
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
    setLoadedValue(std::move(next));
    changed_ = true;
    if (state_)
        state_->dirty = true;
}


Property* Properties::find(std::string_view name) {
    for (auto& item : items_)
        if (sameNameIgnoreCase(item.Name(), name))
            return &item;
    return nullptr;
}

const Property* Properties::find(std::string_view name) const {
    return const_cast<Properties*>(this)->find(name);
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
    if (position < 1 || position > Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return items_[static_cast<size_t>(position - 1)];
}

} // namespace corvane::vbide
