// ErrorReportComponent: the component that receives error reports and answers what to do.
//
// The program creates it by its programmatic identifier "HalvexError.Error" afresh for every
// report (see ComponentRegistry), calls ErrorHandler once and then reads Action. The headless
// program logs the report (HeadlessErrorComponent); the GUI shows a dialog.
#pragma once

#include "vbruntime/Variant.h"

#include <string>
#include <string_view>

namespace corvane {

// The programmatic identifier under which the error-report component is created.
inline constexpr std::string_view ErrorComponentId = "HalvexError.Error";

// The component created by its programmatic identifier "HalvexError.Error".
class ErrorReportComponent {
public:
    virtual ~ErrorReportComponent() = default;

    // Receives one report. `number` and `line` are passed by reference as the component may
    // change them; `variables` is the tagged variables text; `version` is "major.minor.revision".
    virtual void ErrorHandler(Variant& number, const Variant& application, const Variant& module,
                              const Variant& procedure, const Variant& description, Variant& line,
                              const Variant& variables, const Variant& version) = 0;

    // The answer, read after ErrorHandler: "Retry", "RetryNext" or anything else (pass it on).
    virtual std::string Action() const = 0;
};

} // namespace corvane
