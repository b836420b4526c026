// FormDocument: the summary of a block, worked out from its property lines without its
// property set.
#include "vbide/FormDocument.h"

#include "vbruntime/CaseFold.h"

#include <array>
#include <string_view>
#include <utility>

namespace corvane::vbide {

namespace {

enum class SummaryField { None, Name, Index, WhatsThisHelpID, Caption, WhatsThisHelp };

// The properties a summary reads, each at its field's place after None.
constexpr std::array<std::string_view, 5> SummaryNames = {"Name", "Index", "WhatsThisHelpID", "Caption",
                                                          "WhatsThisHelp"};

// Every property line of a form asks this: each comparison with a name of known size stays
// inline, where a loop over the names would call the library's memcmp.
template <size_t... I>
SummaryField summaryFieldAmong(std::string_view name, std::index_sequence<I...>) {
    SummaryField field = SummaryField::None;
    ((equalsIgnoreCase(name, SummaryNames[I]) && (field = static_cast<SummaryField>(I + 1), true)) || ...);
    return field;
}

SummaryField summaryFieldOf(std::string_view name) {
    return summaryFieldAmong(name, std::make_index_sequence<SummaryNames.size()>());
}

// A property's value as the property set holds it: its default, or the last value the file gave.
struct SummaryValue {
    std::optional<Variant> value; // none: the control has no such property

    void fromSpec(const PropertySpec* spec) {
        if (spec)
            value = spec->defaultValue;
    }
};

} // namespace

// The specs of the summary's properties in a type, looked up once per type of the file: a
// form's controls are of a handful of types, and each look-up folds and hashes the name.
const FormDocument::SummarySpecs& FormDocument::summarySpecsOf(const ControlType& type, SummarySpecCache& cache) {
    for (const auto& [known, specs] : cache)
        if (known == &type)
            return specs;
    SummarySpecs specs{};
    for (size_t i = 0; i < SummaryNames.size(); ++i)
        specs[i + 1] = type.find(SummaryNames[i]);
    return cache.emplace_back(&type, specs).second;
}

ControlSummary FormDocument::summaryOf(const BlockNode& node, const FormLayout& layout, FrxValues& frx,
                                       SummarySpecCache& cache, std::optional<Variant>* whatsThisHelp) {
    const ControlType& type = typeOf(node.progId);
    const SummarySpecs& specs = summarySpecsOf(type, cache);
    auto specOf = [&](SummaryField field) { return specs[static_cast<size_t>(field)]; };
    SummaryValue name, index, helpId, caption, helpFlag;
    name.fromSpec(specOf(SummaryField::Name));
    if (name.value)
        name.value = Variant(node.name);
    index.fromSpec(specOf(SummaryField::Index));
    helpId.fromSpec(specOf(SummaryField::WhatsThisHelpID));
    caption.fromSpec(specOf(SummaryField::Caption));
    if (whatsThisHelp)
        helpFlag.fromSpec(specOf(SummaryField::WhatsThisHelp));
    for (const auto& entry : node.entries) {
        SummaryField field = summaryFieldOf(entry.name);
        if (field == SummaryField::WhatsThisHelp && !whatsThisHelp)
            field = SummaryField::None; // only the designer's own flag is kept
        const PropertyLineParts* parts = entry.group ? nullptr : &layout.lineValues[entry.valueIndex];
        bool mayWarn = parts && parts->form == ValueForm::FrxRef && !parts->malformed;
        if (field == SummaryField::None && !mayWarn)
            continue;
        const PropertySpec* known = field == SummaryField::None ? type.find(entry.name) : specOf(field);
        const PropertySpec* spec = known ? known : table_->property(entry.name);
        std::optional<Variant> value =
            entry.group ? Variant::object(entry.name) : valueOf(entry, layout, spec, node.name, frx, warnings_);
        if (!value)
            continue;
        SummaryValue* target = field == SummaryField::Name              ? &name
                               : field == SummaryField::Index           ? &index
                               : field == SummaryField::WhatsThisHelpID ? &helpId
                               : field == SummaryField::Caption         ? &caption
                               : field == SummaryField::WhatsThisHelp   ? &helpFlag
                                                                        : nullptr;
        if (target)
            target->value = std::move(*value); // the file's last line for it wins, as in the set
    }
    ControlSummary summary;
    if (name.value)
        summary.name = name.value->toText();
    if (index.value)
        summary.index = index.value->toLong();
    if (helpId.value)
        summary.whatsThisHelpID = helpId.value->toLong();
    summary.caption = std::move(caption.value);
    if (whatsThisHelp)
        *whatsThisHelp = std::move(helpFlag.value);
    summary.beginLine = static_cast<uint32_t>(node.beginLine);
    return summary;
}

} // namespace corvane::vbide
