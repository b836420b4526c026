// FakeDispatch: an object of the fake VB6 IDE that answers calls by member name, as the real
// IDE's objects answer a late-bound caller, and writes each call into a shared log.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace corvane::vbaddin::testing {

// The calls the fake IDE received, in order: "Object.Member" for a read or a call,
// "Object.Member=value" for a property set.
using CallLog = std::vector<std::wstring>;

// One member: handed the call's kind, its arguments in VB's order and the result's place.
using Member = std::function<HRESULT(WORD kind, const std::vector<VARIANT*>& arguments, VARIANT* result)>;

// An IDispatch answering the members it was given. The test owns it; COM references are only
// counted, so that a reference released once too often shows as a negative count.
class FakeDispatch : public IDispatch {
public:
    FakeDispatch(std::wstring name, CallLog& log) : name_(std::move(name)), log_(log) {}
    virtual ~FakeDispatch() = default;
    FakeDispatch(const FakeDispatch&) = delete;
    FakeDispatch& operator=(const FakeDispatch&) = delete;

    // Adds (or replaces) member `name`.
    void member(const std::wstring& name, Member body) { members_[upper(name)] = {name, std::move(body)}; }
    // A read-only property holding `object` (Nothing when null).
    void objectProperty(const std::wstring& name, std::function<IDispatch*()> object);
    // A property holding a variant that the add-in may read and set.
    void valueProperty(const std::wstring& name, VARIANT* storage);
    // References the add-in holds now (0 when it gave back all it took).
    LONG references() const { return references_; }
    // Whether the add-in ever released more references than it took.
    bool overReleased() const { return overReleased_; }
    // The object's name in the log.
    const std::wstring& name() const { return name_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override;

protected:
    CallLog& log() { return log_; }

private:
    static std::wstring upper(std::wstring text);

    std::wstring name_;
    CallLog& log_;
    std::map<std::wstring, std::pair<std::wstring, Member>> members_;
    std::vector<std::wstring> ids_;
    LONG references_ = 0;
    bool overReleased_ = false;
};

// The text of a variant as the log shows it.
std::wstring logText(const VARIANT* value);
// Sets `result` (when given) to an object reference (Nothing when null).
void returnObject(VARIANT* result, IDispatch* object);

} // namespace corvane::vbaddin::testing
