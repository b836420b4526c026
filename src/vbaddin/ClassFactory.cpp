#include "vbaddin/ClassFactory.h"

#include "vbaddin/AddinModule.h"
#include "vbaddin/Wizard.h"

#include <new>

namespace corvane::vbaddin {

ClassFactory::ClassFactory() { objectCreated(); }

ClassFactory::~ClassFactory() { objectDestroyed(); }

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG ClassFactory::Release() {
    LONG left = ::InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    Wizard* wizard = new (std::nothrow) Wizard();
    if (!wizard)
        return E_OUTOFMEMORY;
    HRESULT result = wizard->QueryInterface(iid, object);
    wizard->Release(); // the caller's reference is the one QueryInterface gave
    return result;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock)
        objectCreated();
    else
        objectDestroyed();
    return S_OK;
}

} // namespace corvane::vbaddin
