#include "vbide/VBControl.h"

#include "vbruntime/Utilities.h"
#include "vbruntime/VbError.h"

namespace corvane::vbide {

namespace {

[[noreturn]] void throwNoProperty(std::string_view name) {
    throw VbError(vberr::InvalidCall, "The object has no property '" + std::string(name) + "'");
}

} // namespace

static_assert(sizeof(void*) != 8 || sizeof(VBControl) <= 72, "VBControl grew past 72 bytes");

VBControl::VBControl(std::string_view progId, ControlSummary summary, PropertySource& source, size_t node)
    : progId_(&pooledName(progId)), beginLine_(summary.beginLine), node_(static_cast<uint32_t>(node)),
      source_(&source) {
    if (summary.name) {
        name_ = *summary.name;
        has_ |= HasName;
    }
    if (summary.index) {
        index_ = *summary.index;
        has_ |= HasIndex;
    }
    if (summary.whatsThisHelpID) {
        whatsThisHelpID_ = *summary.whatsThisHelpID;
        has_ |= HasHelpId;
    }
    if (summary.caption) {
        has_ |= HasCaption;
        try {
            caption_ = Utilities::ValueText(*summary.caption);
        } catch (const VbError&) {
            has_ |= CaptionHasNoText; // told when the text is asked for, as it always was
        }
    }
}

std::string VBControl::TypeName() const {
    size_t dot = progId_->rfind('.');
    return dot == std::string::npos ? *progId_ : progId_->substr(dot + 1);
}

// The property of the built set (null when the sets are not built or it has none).
const Property* VBControl::builtProperty(std::string_view name) const {
    return source_->built() ? source_->propertiesOf(node_).find(name) : nullptr;
}

std::string VBControl::name() const {
    std::optional<std::string> value = (has_ & HasName) ? std::optional<std::string>(name_.str()) : std::nullopt;
    if (source_->built()) {
        const Property* property = builtProperty("Name");
        value = property ? std::optional<std::string>(property->Value().toText()) : std::nullopt;
    }
    if (!value)
        throwNoProperty("Name");
    return *value;
}

int32_t VBControl::index() const {
    std::optional<int32_t> value = (has_ & HasIndex) ? std::optional<int32_t>(index_) : std::nullopt;
    if (source_->built()) {
        const Property* property = builtProperty("Index");
        value = property ? std::optional<int32_t>(property->Value().toLong()) : std::nullopt;
    }
    if (!value)
        throwNoProperty("Index");
    return *value;
}

std::optional<int32_t> VBControl::whatsThisHelpID() const {
    if (!source_->built())
        return (has_ & HasHelpId) ? std::optional<int32_t>(whatsThisHelpID_) : std::nullopt;
    const Property* property = builtProperty("WhatsThisHelpID");
    return property ? std::optional<int32_t>(property->Value().toLong()) : std::nullopt;
}

void VBControl::setWhatsThisHelpID(int32_t id) {
    if (source_->built()) {
        Properties().Item("WhatsThisHelpID").SetValue(Variant(id));
        return;
    }
    if (!(has_ & HasHelpId))
        throwNoProperty("WhatsThisHelpID");
    if (whatsThisHelpID_ == id)
        return;
    source_->changeSummarised(node_, "WhatsThisHelpID", Variant(whatsThisHelpID_), Variant(id));
    whatsThisHelpID_ = id;
}

std::optional<std::string> VBControl::captionText() const {
    if (!source_->built()) {
        if (!(has_ & HasCaption))
            return std::nullopt;
        if (has_ & CaptionHasNoText) // a "BeginProperty Caption" group: ValueText's own failure
            throw VbError(vberr::TypeMismatch, {}, "Utilities");
        return caption_.str();
    }
    const Property* property = builtProperty("Caption");
    return property ? std::optional<std::string>(Utilities::ValueText(property->Value())) : std::nullopt;
}

std::shared_ptr<VBControl> VBControls::Item(int position) const {
    if (position < 1 || position > Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return {owner_, first_ + (position - 1)};
}

} // namespace corvane::vbide
