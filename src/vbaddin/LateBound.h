// LateBound: calls on an IDE object by member name (GetIDsOfNames, then Invoke), as a script
// would: the add-in needs no header or type library of the IDE.
#pragma once

#include "vbaddin/ComRef.h"
#include "vbaddin/Variant.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace corvane::vbaddin {

// A call by name that failed: the member, and the failure's HRESULT.
class LateBoundFailure : public std::runtime_error {
public:
    LateBoundFailure(const std::wstring& member, HRESULT result);
    // The HRESULT the object answered.
    HRESULT result() const { return result_; }

private:
    HRESULT result_;
};

// Reads property `member` (with arguments, as `Controls(1)` or `FileNames(1)`).
Variant getProperty(IDispatch* object, const std::wstring& member, const std::vector<Variant>& arguments = {});
// Reads property `member` as an object; a failure or Nothing throws.
ComRef<IDispatch> getObject(IDispatch* object, const std::wstring& member,
                            const std::vector<Variant>& arguments = {});
// Sets property `member` to `value`.
void putProperty(IDispatch* object, const std::wstring& member, const Variant& value);
// Calls method `member` with `arguments` (in the order a VB call writes them).
Variant callMethod(IDispatch* object, const std::wstring& member, const std::vector<Variant>& arguments = {});

} // namespace corvane::vbaddin
