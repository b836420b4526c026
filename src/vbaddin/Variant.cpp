#include "vbaddin/Variant.h"

namespace corvane::vbaddin {

Variant::Variant(const std::wstring& text) {
    ::VariantInit(&value_);
    value_.vt = VT_BSTR;
    value_.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

Variant::Variant(long number) {
    ::VariantInit(&value_);
    value_.vt = VT_I4;
    value_.lVal = number;
}

Variant Variant::boolean(bool flag) {
    Variant result;
    result.value_.vt = VT_BOOL;
    result.value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return result;
}

Variant::Variant(IDispatch* object) {
    ::VariantInit(&value_);
    value_.vt = VT_DISPATCH;
    value_.pdispVal = object;
    if (object)
        object->AddRef();
}

Variant::Variant(const Variant& other) {
    ::VariantInit(&value_);
    ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other)
        ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
    return *this;
}

ComRef<IDispatch> Variant::object() const {
    const VARIANT* value = &value_;
    if (value->vt == (VT_VARIANT | VT_BYREF))
        value = value->pvarVal;
    if (value->vt == VT_DISPATCH)
        return ComRef<IDispatch>::share(value->pdispVal);
    if (value->vt == VT_UNKNOWN && value->punkVal) {
        ComRef<IDispatch> object;
        value->punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.out()));
        return object;
    }
    return {};
}

std::wstring Variant::text() const {
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&value_), 0, VT_BSTR)))
        return {};
    std::wstring result(converted.bstrVal ? converted.bstrVal : L"", ::SysStringLen(converted.bstrVal));
    ::VariantClear(&converted);
    return result;
}

long Variant::number() const {
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&value_), 0, VT_I4)))
        return 0;
    return converted.lVal;
}

} // namespace corvane::vbaddin
