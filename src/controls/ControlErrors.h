// ControlErrors: the VB run-time errors that controls and windows raise.
//
// The run time's own numbers and texts are used so that error reports read as VB's would.
#pragma once

#include "vbruntime/VbError.h"

#include <cstdint>
#include <string_view>

namespace corvane::controls {

namespace ctlerr {
constexpr int32_t ObjectUnloaded = 364;        // a window unloaded while it was being shown
constexpr int32_t InvalidPropertyValue = 380;  // "Invalid property value"
constexpr int32_t InvalidArrayIndex = 381;     // "Invalid property array index"
constexpr int32_t ReadOnlyProperty = 383;      // a property that cannot be set at run time
constexpr int32_t CannotMoveMinimized = 384;   // a window moved while minimised or maximised
constexpr int32_t AlreadyDisplayed = 400;      // a visible window shown modally
constexpr int32_t NotSupported = 438;          // "Object doesn't support this property or method"
constexpr int32_t DuplicateControlName = 727;  // a second control of the same name
constexpr int32_t ControlNotFound = 730;       // no control of that name
} // namespace ctlerr

// The failure for a property the control's type does not have (438).
VbError noSuchProperty(std::string_view typeName, std::string_view property);

// The failure for a value a property does not accept (380).
VbError invalidValue(std::string_view property);

// The failure for an index outside a list property (381).
VbError invalidIndex(std::string_view property, int32_t index);

// The failure for a property that cannot be set (383).
VbError readOnly(std::string_view property);

} // namespace corvane::controls
