// ErrorReport: renders variables as the report's tagged text and hands a report to the
// error-report component (modWizard's FormatVariable and ReportError).
//
// A variable named N renders as "<N>" body "</N>", followed by CR LF for plain values and
// arrays. Bodies: "{Empty}", "{Null}", "{Nothing}", "{" type name "}" for an object,
// "{DataObject}", "{UDT}", nothing for an error value; a collection's items and an array's
// elements render inside under "N[i]" (collections count from 1, arrays from their lower
// bound) after a CR LF; any other value is its text with every NUL written as "{Null}".
// Nothing is escaped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

class Variant;

// The application name every report carries.
inline constexpr std::string_view ReportApplicationName = "Corvane";

// The tagged rendering of one variable (see the header comment).
std::string FormatVariable(std::string_view name, const Variant& value);

// The variables text of a report, built from the renderings of the locals, the module
// variables and the parameters.
std::string variablesText(std::string_view locals, std::string_view moduleVariables, std::string_view parameters);

// Creates the component "HalvexError.Error", hands it the report (number, "Corvane", module,
// procedure, description, line, variables text, programVersion()) and returns its Action.
// `number` and `line` take back what the component left in them. A component that cannot be
// created or fails raises its failure here (VbError 429 when it cannot be created).
std::string ReportError(int32_t& number, std::string_view module, std::string_view procedure,
                        std::string_view description, int32_t& line, std::string_view locals,
                        std::string_view moduleVariables, std::string_view parameters);

} // namespace corvane
