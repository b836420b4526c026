#include "vbaddin/ClickSink.h"

#include <utility>

namespace corvane::vbaddin {

ClickSink::ClickSink(const IID& events, std::function<void()> onClick) : events_(events), onClick_(std::move(onClick)) {}

ComRef<ClickSink> ClickSink::advise(IDispatch* source, std::function<void()> onClick) {
    ComRef<IConnectionPointContainer> container =
        ComRef<IDispatch>::share(source).query<IConnectionPointContainer>(IID_IConnectionPointContainer);
    if (!container)
        return {};
    // The command bar events' interface is not named here: the source says which it is.
    ComRef<IEnumConnectionPoints> points;
    ComRef<IConnectionPoint> point;
    IID events{};
    if (FAILED(container->EnumConnectionPoints(points.out())) || !points ||
        points->Next(1, point.out(), nullptr) != S_OK || !point || FAILED(point->GetConnectionInterface(&events)))
        return {};
    ComRef<ClickSink> sink = ComRef<ClickSink>::adopt(new ClickSink(events, std::move(onClick)));
    DWORD cookie = 0;
    if (FAILED(point->Advise(sink.get(), &cookie)))
        return {};
    sink->point_ = point;
    sink->cookie_ = cookie;
    return sink;
}

void ClickSink::unadvise() {
    if (point_) {
        point_->Unadvise(cookie_);
        point_.reset();
    }
}

HRESULT ClickSink::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, events_)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ClickSink::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG ClickSink::Release() {
    LONG left = ::InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT ClickSink::GetTypeInfoCount(UINT* count) {
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT ClickSink::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT ClickSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

HRESULT ClickSink::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    // The source has one event, Click; its arguments (the entry, handled, CancelDefault) stay
    // as they came. The sink is kept alive through the click even if it unadvises meanwhile.
    ComRef<ClickSink> self = ComRef<ClickSink>::share(this);
    if (onClick_)
        onClick_();
    return S_OK;
}

} // namespace corvane::vbaddin
