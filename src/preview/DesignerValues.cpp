#include "preview/DesignerValues.h"

#include "support/VbError.h"

#include <cmath>

namespace corvane::preview {

std::optional<double> numberOf(const vbide::Properties& properties, std::string_view name) {
    const vbide::Property* property = properties.find(name);
    if (!property || !property->Value().isNumeric())
        return std::nullopt;
    try {
        double value = property->Value().toDouble();
        return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
    } catch (const VbError&) {
        return std::nullopt;
    }
}

double numberOr(const vbide::Properties& properties, std::string_view name, double fallback) {
    return numberOf(properties, name).value_or(fallback);
}

std::string textOf(const vbide::Properties& properties, std::string_view name) {
    const vbide::Property* property = properties.find(name);
    if (!property)
        return {};
    try {
        return property->Value().toText();
    } catch (const VbError&) {
        return {}; // a picture or font object has no text
    }
}

bool flagOr(const vbide::Properties& properties, std::string_view name, bool fallback) {
    const vbide::Property* property = properties.find(name);
    if (!property)
        return fallback;
    try {
        return property->Value().toBool();
    } catch (const VbError&) {
        return fallback;
    }
}

std::string controlKeyOf(const vbide::Properties& properties) {
    std::string name = textOf(properties, "Name");
    std::optional<double> index = numberOf(properties, "Index");
    if (!index || *index < 0)
        return name;
    return name + "(" + std::to_string(static_cast<long long>(*index)) + ")";
}

} // namespace corvane::preview
