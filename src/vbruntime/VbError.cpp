#include "vbruntime/VbError.h"

namespace corvane {

namespace {
std::string describe(int32_t number, std::string description) {
    if (description.empty())
        description = standardDescription(number);
    return description;
}
} // namespace

VbError::VbError(int32_t number, std::string description, std::string source)
    : std::runtime_error(describe(number, description)), number_(number),
      description_(describe(number, std::move(description))), source_(std::move(source)) {}

std::string standardDescription(int32_t number) {
    switch (number) {
    case vberr::InvalidCall: return "Invalid procedure call or argument";
    case vberr::Overflow: return "Overflow";
    case vberr::SubscriptOutOfRange: return "Subscript out of range";
    case vberr::TypeMismatch: return "Type mismatch";
    case vberr::FileNotFound: return "File not found";
    case vberr::PathFileAccess: return "Path/File access error";
    case vberr::ObjectNotSet: return "Object variable or With block variable not set";
    case vberr::CannotCreateObject: return "ActiveX component can't create object";
    case vberr::DuplicateKey: return "This key is already associated with an element of this collection";
    default: return {};
    }
}

} // namespace corvane
