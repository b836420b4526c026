// ClassFactory: makes the connect object for COM (CoCreateInstance by ProgID or class id).
#pragma once

#include <unknwn.h>

namespace corvane::vbaddin {

// The factory of the connect class Wizard.
class ClassFactory : public IClassFactory {
public:
    // A new factory with one reference, the caller's.
    ClassFactory();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    virtual ~ClassFactory();

    LONG references_ = 1;
};

} // namespace corvane::vbaddin
