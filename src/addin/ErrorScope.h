// ErrorScope: the uniform error handler of a procedure.
//
// A procedure opens one scope naming its module and itself and the variables a report renders;
// the variables are read only when a report is made. Statements the report may retry or skip
// run as steps; run() guards the whole body. Example (modWizard's GetResString):
//
//   std::string GetResString(int16_t& nRes) {
//       std::string sTmp, sRetStr;
//       ErrorScope scope("modWizard", "GetResString");
//       scope.parameters({watch("nRes", nRes)}).locals({watch("sTmp", sTmp), watch("sRetStr", sRetStr)});
//       return scope.run([&] {
//           scope.step([&] { sTmp = LoadResString(nRes); });
//           ...
//           return sRetStr;
//       });
//   }
//
// On a failure (a VbError; std::bad_alloc as 7 "Out of memory"; any other std::exception as
// 51 with its message; other exceptions pass through untouched) the scope renders its module
// variables (M), parameters (P) and locals (L) and calls ReportError. The answer, compared exactly:
//   "Retry"      runs the failing step again (run(): the whole body again);
//   "RetryNext"  goes on after the step (value(): a value-initialised result; run(): the
//                procedure ends normally with a value-initialised result);
//   anything else throws VbError 65535 (no description) out of the procedure, where the
//                caller's scope reports it in its turn.
// A failure of the report itself (the component cannot be created or fails) leaves the
// procedure unreported, as the caller's failure to handle. A failure a scope passed on is not
// reported again by the same scope (a step inside run(), a step inside a step).
// The report's line is the source line of the failing step; 0 for a failure outside steps.
// Variables are read by reference: they must outlive the scope (declare them before it).
#pragma once

#include "addin/ReportValues.h"
#include "vbruntime/Variant.h"
#include "vbruntime/VbError.h"

#include <cstdint>
#include <functional>
#include <source_location>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace corvane {

// A variable of a report: its name and how to read its value when a report is made.
struct NamedValue {
    std::string name;
    std::function<Variant()> read;
};
using NamedValues = std::vector<NamedValue>;

// The variable `value` under `name`, read by reference through toVariant (ReportValues.h).
template <typename T>
NamedValue watch(std::string name, const T& value) {
    return {std::move(name), [&value] { return toVariant(value); }};
}
// A temporary would be gone when the report reads it.
template <typename T>
NamedValue watch(std::string name, const T&& value) = delete;

// A window or class whose fields every report of its procedures renders, in declaration order.
class ReportsVariables {
public:
    virtual ~ReportsVariables() = default;
    // The fields, in declaration order.
    virtual NamedValues moduleVariables() const = 0;
};

// The failure a scope throws out of its procedure: the raised 65535, or a failure of the report.
// It remembers the scope, so that the same scope never reports it twice.
class PassedOnFailure : public VbError {
public:
    // A failure passed on by `origin`.
    PassedOnFailure(const VbError& failure, const void* origin) : VbError(failure), origin_(origin) {}
    // The scope that passed the failure on.
    const void* origin() const noexcept { return origin_; }

private:
    const void* origin_;
};

class ErrorScope {
public:
    // A scope for `procedure` of `module` ("frmWizard", "ExitApp"). Both are kept as views:
    // pass texts that outlive the scope (string literals).
    ErrorScope(std::string_view module, std::string_view procedure);
    ErrorScope(const ErrorScope&) = delete;
    ErrorScope& operator=(const ErrorScope&) = delete;

    // The module-level variables of a plain module, given when a report is made.
    ErrorScope& moduleVariables(std::function<NamedValues()> provider);
    // The fields of a window or class; `owner` outlives the scope.
    ErrorScope& moduleVariables(const ReportsVariables& owner);
    // The parameters, in order.
    ErrorScope& parameters(NamedValues values);
    // The parameters, given when a report is made: for procedures run for every record, where
    // building the list on each call would cost more than the procedure's work.
    ErrorScope& parameters(std::function<NamedValues()> provider);
    // The local variables, in declaration order.
    ErrorScope& locals(NamedValues values);
    // The local variables, given when a report is made (see the lazy parameters).
    ErrorScope& locals(std::function<NamedValues()> provider);

    // Runs one statement under the handler (see the header comment).
    template <typename F>
    void step(F&& statement, std::source_location where = std::source_location::current()) {
        for (;;) {
            try {
                statement();
                return;
            } catch (...) {
                if (handleFailure(static_cast<int32_t>(where.line())) == Outcome::GoOn)
                    return;
            }
        }
    }

    // Evaluates one expression under the handler; a skipped one gives a value-initialised result.
    template <typename F>
    auto value(F&& expression, std::source_location where = std::source_location::current())
        -> std::remove_cvref_t<std::invoke_result_t<F&>> {
        return guarded(expression, static_cast<int32_t>(where.line()));
    }

    // Guards the procedure's body and returns its result (see the header comment).
    template <typename F>
    auto run(F&& body) -> std::remove_cvref_t<std::invoke_result_t<F&>> {
        return guarded(body, 0);
    }

    // Runs an event procedure that a window or the IDE raised: a failure its handler passed on
    // ends there, as it does for VB's event procedures, and never reaches the raiser.
    template <typename F>
    static void atEventBoundary(F&& handler) {
        try {
            handler();
        } catch (const PassedOnFailure&) {
        }
    }

    // Wraps an event handler so that it runs at the event boundary (see atEventBoundary).
    template <typename F>
    static auto eventHandler(F handler) {
        return [handler](auto&&... arguments) {
            atEventBoundary([&] { handler(std::forward<decltype(arguments)>(arguments)...); });
        };
    }

    // Runs a statement with every failure ignored (VbError and std::exception).
    template <typename F>
    static void ignoringFailures(F&& statement) {
        try {
            statement();
        } catch (const std::exception&) {
        }
    }

private:
    enum class Outcome { Retry, GoOn };

    template <typename F>
    auto guarded(F& code, int32_t line) -> std::remove_cvref_t<std::invoke_result_t<F&>> {
        using Result = std::remove_cvref_t<std::invoke_result_t<F&>>;
        for (;;) {
            try {
                return code();
            } catch (...) {
                if (handleFailure(line) == Outcome::GoOn)
                    return Result();
            }
        }
    }

    // Called inside a catch block: reports the current failure and returns what to do, or
    // throws the failure to pass on.
    Outcome handleFailure(int32_t line);
    // The three renderings of a report: L, M and P.
    std::string renderLocals() const;
    std::string renderModuleVariables() const;
    std::string renderParameters() const;

    std::string_view module_;
    std::string_view procedure_;
    std::function<NamedValues()> moduleProvider_;
    const ReportsVariables* owner_ = nullptr;
    NamedValues parameters_;
    std::function<NamedValues()> parameterProvider_;
    NamedValues locals_;
    std::function<NamedValues()> localProvider_;
};

} // namespace corvane
