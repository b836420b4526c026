#include "addin/ErrorScope.h"

#include "addin/ErrorReport.h"

#include <new>

namespace corvane {

namespace {

constexpr int32_t OutOfMemory = 7;
constexpr int32_t InternalError = 51;

// The failure being handled as a VbError. A failure that `self` passed on itself, and anything
// that is not a std::exception, is thrown on unchanged.
VbError currentFailure(const void* self) {
    try {
        throw;
    } catch (const PassedOnFailure& failure) {
        if (failure.origin() == self)
            throw;
        return failure;
    } catch (const VbError& failure) {
        return failure;
    } catch (const std::bad_alloc&) {
        return VbError(OutOfMemory, "Out of memory");
    } catch (const std::exception& failure) {
        return VbError(InternalError, failure.what());
    }
}

// The concatenated renderings; a value that cannot be read renders as an error value.
std::string render(const NamedValues& values) {
    std::string out;
    for (const auto& value : values) {
        Variant current = Variant::error();
        try {
            if (value.read)
                current = value.read();
        } catch (const std::exception&) {
        }
        out += FormatVariable(value.name, current);
    }
    return out;
}

} // namespace

ErrorScope::ErrorScope(std::string_view module, std::string_view procedure) : module_(module), procedure_(procedure) {}

ErrorScope& ErrorScope::moduleVariables(std::function<NamedValues()> provider) {
    moduleProvider_ = std::move(provider);
    owner_ = nullptr;
    return *this;
}

ErrorScope& ErrorScope::moduleVariables(const ReportsVariables& owner) {
    owner_ = &owner;
    moduleProvider_ = nullptr;
    return *this;
}

ErrorScope& ErrorScope::parameters(NamedValues values) {
    parameters_ = std::move(values);
    parameterProvider_ = nullptr;
    return *this;
}

ErrorScope& ErrorScope::parameters(std::function<NamedValues()> provider) {
    parameterProvider_ = std::move(provider);
    parameters_.clear();
    return *this;
}

ErrorScope& ErrorScope::locals(NamedValues values) {
    locals_ = std::move(values);
    localProvider_ = nullptr;
    return *this;
}

ErrorScope& ErrorScope::locals(std::function<NamedValues()> provider) {
    localProvider_ = std::move(provider);
    locals_.clear();
    return *this;
}

std::string ErrorScope::renderLocals() const { return render(localProvider_ ? localProvider_() : locals_); }

std::string ErrorScope::renderParameters() const {
    return render(parameterProvider_ ? parameterProvider_() : parameters_);
}

std::string ErrorScope::renderModuleVariables() const {
    try {
        if (owner_)
            return render(owner_->moduleVariables());
        if (moduleProvider_)
            return render(moduleProvider_());
    } catch (const std::exception&) {
    }
    return {};
}

ErrorScope::Outcome ErrorScope::handleFailure(int32_t line) {
    VbError failure = currentFailure(this);
    int32_t number = failure.number();
    std::string action;
    try {
        action = ReportError(number, module_, procedure_, failure.description(), line, renderLocals(),
                             renderModuleVariables(), renderParameters());
    } catch (const VbError& reportFailure) {
        throw PassedOnFailure(reportFailure, this);
    } catch (const std::exception& reportFailure) {
        throw PassedOnFailure(VbError(InternalError, reportFailure.what()), this);
    }
    if (action == "Retry")
        return Outcome::Retry;
    if (action == "RetryNext")
        return Outcome::GoOn;
    // The caller's report of the 65535 names the cause, never an empty text: the cause as
    // this procedure met it, or as the procedure that passed it on named it.
    const std::string cause = failure.number() == vberr::Raised && !failure.description().empty()
                                  ? failure.description()
                                  : "error " + std::to_string(number) + " in " + std::string(module_) + "." +
                                        std::string(procedure_) + ": " + failure.description();
    throw PassedOnFailure(VbError(vberr::Raised, cause), this);
}

} // namespace corvane
