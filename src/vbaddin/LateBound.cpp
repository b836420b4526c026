#include "vbaddin/LateBound.h"

namespace corvane::vbaddin {

namespace {

std::string narrow(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text)
        result += c < 128 ? static_cast<char>(c) : '?';
    return result;
}

std::string describe(const std::wstring& member, HRESULT result) {
    char code[16];
    wsprintfA(code, "%08lX", static_cast<unsigned long>(result));
    return "the IDE's member " + narrow(member) + " failed (0x" + code + ")";
}

Variant invoke(IDispatch* object, const std::wstring& member, WORD kind, const std::vector<Variant>& arguments) {
    if (!object)
        throw LateBoundFailure(member, E_POINTER);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(member.c_str());
    HRESULT result = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result))
        throw LateBoundFailure(member, result);
    // Invoke takes the arguments last first.
    std::vector<VARIANT> reversed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        reversed.push_back(*it->raw());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (kind == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &named;
        parameters.cNamedArgs = 1;
    }
    Variant value;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    result = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                            kind == DISPATCH_PROPERTYPUT ? nullptr : value.raw(), &exception, &badArgument);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    if (FAILED(result))
        throw LateBoundFailure(member, result);
    return value;
}

} // namespace

LateBoundFailure::LateBoundFailure(const std::wstring& member, HRESULT result)
    : std::runtime_error(describe(member, result)), result_(result) {}

Variant getProperty(IDispatch* object, const std::wstring& member, const std::vector<Variant>& arguments) {
    // A parameterised property may be a method to the object: VB asks for both at once.
    return invoke(object, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arguments);
}

ComRef<IDispatch> getObject(IDispatch* object, const std::wstring& member, const std::vector<Variant>& arguments) {
    ComRef<IDispatch> result = getProperty(object, member, arguments).object();
    if (!result)
        throw LateBoundFailure(member, E_POINTER);
    return result;
}

void putProperty(IDispatch* object, const std::wstring& member, const Variant& value) {
    invoke(object, member, DISPATCH_PROPERTYPUT, {value});
}

Variant callMethod(IDispatch* object, const std::wstring& member, const std::vector<Variant>& arguments) {
    return invoke(object, member, DISPATCH_METHOD, arguments);
}

} // namespace corvane::vbaddin
