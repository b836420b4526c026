// VbError: a failure carrying a Visual Basic run-time error number.
//
// Every layer raises failures as VbError so that the uniform error report reads as the
// VB run time would have made it: a number, a description and a source.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace corvane {

// VB run-time error numbers used by the program.
namespace vberr {
constexpr int32_t InvalidCall = 5;          // invalid procedure call or argument (also: missing key)
constexpr int32_t Overflow = 6;             // overflow
constexpr int32_t SubscriptOutOfRange = 9;  // subscript out of range (missing position)
constexpr int32_t TypeMismatch = 13;        // type mismatch
constexpr int32_t FileNotFound = 53;        // file not found
constexpr int32_t PathFileAccess = 75;      // path/file access error
constexpr int32_t ObjectNotSet = 91;        // object variable not set
constexpr int32_t CannotCreateObject = 429; // ActiveX component can't create object
constexpr int32_t DuplicateKey = 457;       // key already associated with an element of this collection
constexpr int32_t FormControlsUnreadable = 60061; // the IDE could not give a designer's controls
constexpr int32_t Raised = 65535;           // raised by a handler that passes a failure on
} // namespace vberr

// A failure with a VB error number, a description and an optional source.
class VbError : public std::runtime_error {
public:
    // Makes a failure; an empty description takes the run time's standard text for the number.
    explicit VbError(int32_t number, std::string description = {}, std::string source = {});

    // The VB error number.
    int32_t number() const noexcept { return number_; }
    // The description (never empty for a known number).
    const std::string& description() const noexcept { return description_; }
    // The component or file that raised the failure, when known.
    const std::string& source() const noexcept { return source_; }

private:
    int32_t number_;
    std::string description_;
    std::string source_;
};

// The VB run time's standard description of an error number ("" for 65535 and unknown numbers).
std::string standardDescription(int32_t number);

} // namespace corvane
