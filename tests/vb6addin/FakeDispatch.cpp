#include "vb6addin/FakeDispatch.h"

#include <cwctype>

namespace corvane::vbaddin::testing {

std::wstring FakeDispatch::upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

void FakeDispatch::objectProperty(const std::wstring& name, std::function<IDispatch*()> object) {
    member(name, [object](WORD, const std::vector<VARIANT*>&, VARIANT* result) {
        returnObject(result, object());
        return S_OK;
    });
}

void FakeDispatch::valueProperty(const std::wstring& name, VARIANT* storage) {
    member(name, [storage](WORD kind, const std::vector<VARIANT*>& arguments, VARIANT* result) {
        if (kind & DISPATCH_PROPERTYPUT)
            return arguments.size() == 1 ? ::VariantCopy(storage, arguments[0]) : DISP_E_BADPARAMCOUNT;
        return result ? ::VariantCopy(result, storage) : S_OK;
    });
}

HRESULT FakeDispatch::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDispatch::AddRef() { return static_cast<ULONG>(++references_); }

ULONG FakeDispatch::Release() {
    if (--references_ < 0)
        overReleased_ = true;
    return static_cast<ULONG>(references_ < 0 ? 0 : references_);
}

HRESULT FakeDispatch::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT FakeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count != 1)
        return DISP_E_UNKNOWNNAME;
    std::wstring key = upper(names[0]);
    if (!members_.count(key)) {
        log_.push_back(name_ + L".?" + names[0]);
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    for (size_t i = 0; i < ids_.size(); ++i)
        if (ids_[i] == key) {
            ids[0] = static_cast<DISPID>(i + 1);
            return S_OK;
        }
    ids_.push_back(key);
    ids[0] = static_cast<DISPID>(ids_.size());
    return S_OK;
}

HRESULT FakeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                             EXCEPINFO*, UINT*) {
    if (id < 1 || static_cast<size_t>(id) > ids_.size())
        return DISP_E_MEMBERNOTFOUND;
    const auto& [memberName, body] = members_.at(ids_[static_cast<size_t>(id - 1)]);
    std::vector<VARIANT*> arguments;
    for (UINT i = parameters->cArgs; i > 0; --i) // the caller passes them last first
        arguments.push_back(&parameters->rgvarg[i - 1]);
    bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    if (put && (parameters->cNamedArgs != 1 || parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
        return DISP_E_PARAMNOTOPTIONAL; // a property set names its value, as VB does
    std::wstring entry = name_ + L"." + memberName;
    size_t indexes = arguments.size() - (put && !arguments.empty() ? 1 : 0);
    for (size_t i = 0; i < indexes; ++i)
        entry += (i ? L"," : L"(") + logText(arguments[i]) + (i + 1 == indexes ? L")" : L"");
    if (put)
        entry += L"=" + logText(arguments.back());
    log_.push_back(entry);
    if (result)
        ::VariantInit(result);
    return body(flags, arguments, result);
}

std::wstring logText(const VARIANT* value) {
    if (value->vt == VT_DISPATCH)
        return value->pdispVal ? static_cast<FakeDispatch*>(value->pdispVal)->name() : L"Nothing";
    if (value->vt == VT_BOOL)
        return value->boolVal ? L"True" : L"False";
    VARIANT text;
    ::VariantInit(&text);
    if (FAILED(::VariantChangeType(&text, const_cast<VARIANT*>(value), 0, VT_BSTR)))
        return L"?";
    std::wstring result = value->vt == VT_BSTR ? L"\"" + std::wstring(text.bstrVal) + L"\"" : text.bstrVal;
    ::VariantClear(&text);
    return result;
}

void returnObject(VARIANT* result, IDispatch* object) {
    if (!result)
        return;
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    if (object)
        object->AddRef();
}

} // namespace corvane::vbaddin::testing
