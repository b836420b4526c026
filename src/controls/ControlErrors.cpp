#include "controls/ControlErrors.h"

#include <string>

namespace corvane::controls {

VbError noSuchProperty(std::string_view typeName, std::string_view property) {
    return VbError(ctlerr::NotSupported, "Object doesn't support this property or method",
                   std::string(typeName) + "." + std::string(property));
}

VbError invalidValue(std::string_view property) {
    return VbError(ctlerr::InvalidPropertyValue, "Invalid property value", std::string(property));
}

VbError invalidIndex(std::string_view property, int32_t index) {
    return VbError(ctlerr::InvalidArrayIndex, "Invalid property array index",
                   std::string(property) + "(" + std::to_string(index) + ")");
}

VbError readOnly(std::string_view property) {
    return VbError(ctlerr::ReadOnlyProperty, "'" + std::string(property) + "' property is read-only");
}

} // namespace corvane::controls
