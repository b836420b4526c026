#include "vb6addin/FakeEventSource.h"

#include <olectl.h>

namespace corvane::vbaddin::testing {

FakeEventSource::~FakeEventSource() {
    if (sink_)
        sink_->Release();
}

bool FakeEventSource::click(IDispatch* entry) {
    if (!sink_)
        return false;
    VARIANT_BOOL handled = VARIANT_FALSE, cancelDefault = VARIANT_FALSE;
    VARIANT arguments[3]; // last first: CancelDefault, handled, the entry
    for (VARIANT& argument : arguments)
        ::VariantInit(&argument);
    arguments[0].vt = arguments[1].vt = VT_BOOL | VT_BYREF;
    arguments[0].pboolVal = &cancelDefault;
    arguments[1].pboolVal = &handled;
    arguments[2].vt = VT_DISPATCH;
    arguments[2].pdispVal = entry;
    DISPPARAMS parameters{arguments, nullptr, 3, 0};
    HRESULT result = sink_->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr,
                                   nullptr);
    return SUCCEEDED(result) && handled == VARIANT_FALSE && cancelDefault == VARIANT_FALSE;
}

HRESULT FakeEventSource::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IConnectionPointContainer))
        *object = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(iid, IID_IConnectionPoint))
        *object = static_cast<IConnectionPoint*>(this);
    else if (IsEqualIID(iid, IID_IEnumConnectionPoints))
        *object = static_cast<IEnumConnectionPoints*>(this);
    else
        return FakeDispatch::QueryInterface(iid, object);
    AddRef();
    return S_OK;
}

HRESULT FakeEventSource::EnumConnectionPoints(IEnumConnectionPoints** points) {
    log().push_back(name() + L".EnumConnectionPoints");
    enumerated_ = false;
    *points = this;
    AddRef();
    return S_OK;
}

HRESULT FakeEventSource::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    *point = nullptr;
    if (!IsEqualIID(iid, IidFakeClickEvents))
        return CONNECT_E_NOCONNECTION;
    *point = this;
    AddRef();
    return S_OK;
}

HRESULT FakeEventSource::GetConnectionInterface(IID* iid) {
    log().push_back(name() + L".GetConnectionInterface");
    *iid = IidFakeClickEvents;
    return S_OK;
}

HRESULT FakeEventSource::GetConnectionPointContainer(IConnectionPointContainer** container) {
    *container = this;
    AddRef();
    return S_OK;
}

HRESULT FakeEventSource::Advise(IUnknown* sink, DWORD* cookie) {
    log().push_back(name() + L".Advise");
    if (sink_)
        return CONNECT_E_ADVISELIMIT;
    // A real source asks the sink for the events' interface and calls through that.
    if (FAILED(sink->QueryInterface(IidFakeClickEvents, reinterpret_cast<void**>(&sink_))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = 42;
    return S_OK;
}

HRESULT FakeEventSource::Unadvise(DWORD cookie) {
    log().push_back(name() + L".Unadvise");
    if (cookie != 42 || !sink_)
        return CONNECT_E_NOCONNECTION;
    IDispatch* sink = sink_;
    sink_ = nullptr;
    sink->Release();
    return S_OK;
}

HRESULT FakeEventSource::EnumConnections(IEnumConnections**) { return E_NOTIMPL; }

HRESULT FakeEventSource::Next(ULONG count, IConnectionPoint** points, ULONG* fetched) {
    ULONG given = 0;
    if (count > 0 && !enumerated_) {
        enumerated_ = true;
        points[0] = this;
        AddRef();
        given = 1;
    }
    if (fetched)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT FakeEventSource::Skip(ULONG) { return E_NOTIMPL; }

HRESULT FakeEventSource::Reset() {
    enumerated_ = false;
    return S_OK;
}

HRESULT FakeEventSource::Clone(IEnumConnectionPoints**) { return E_NOTIMPL; }

} // namespace corvane::vbaddin::testing
