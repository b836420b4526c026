#include "preview/DesignerValues.h"

#include "vbruntime/VbError.h"

#include <cmath>
#include <limits>

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

int integerOr(const vbide::Properties& properties, std::string_view name, int fallback) {
    std::optional<double> value = numberOf(properties, name);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(*value);
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
    int index = integerOr(properties, "Index", -1);
    return index < 0 ? name : name + "(" + std::to_string(index) + ")";
}

} // namespace corvane::preview
