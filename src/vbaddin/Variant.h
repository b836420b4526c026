// Variant: a VARIANT that clears itself, with the conversions the add-in needs.
#pragma once

#include "vbaddin/ComRef.h"

#include <oaidl.h>
#include <windows.h>

#include <string>

namespace corvane::vbaddin {

// Owns one VARIANT (VariantClear on destruction).
class Variant {
public:
    Variant() { ::VariantInit(&value_); }
    // A text (BSTR) variant.
    explicit Variant(const std::wstring& text);
    // A 32-bit integer variant (VT_I4).
    explicit Variant(long number);
    // A Boolean variant (VT_BOOL).
    static Variant boolean(bool flag);
    // An object variant holding a reference of its own.
    explicit Variant(IDispatch* object);
    Variant(const Variant& other);
    Variant& operator=(const Variant& other);
    ~Variant() { ::VariantClear(&value_); }

    // The raw VARIANT, for a call's arguments or result.
    VARIANT* raw() { return &value_; }
    const VARIANT* raw() const { return &value_; }
    // The value as an object (null when it is Nothing, Empty or no object).
    ComRef<IDispatch> object() const;
    // The value as a text (empty when it converts to none).
    std::wstring text() const;
    // The value as a 32-bit integer (0 when it converts to none).
    long number() const;
    // The value as a Boolean (VB's True is -1; any non-zero number counts).
    bool flag() const { return number() != 0; }

private:
    VARIANT value_;
};

} // namespace corvane::vbaddin
