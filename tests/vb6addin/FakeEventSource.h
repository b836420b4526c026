// FakeEventSource: the fake IDE's command bar event source of one menu entry: a connection
// point whose interface the add-in learns only by asking, and a Click it raises on request.
#pragma once

#include "vb6addin/FakeDispatch.h"

#include <ocidl.h>

namespace corvane::vbaddin::testing {

// {4A5C1E2B-7D3F-4B8E-A1C9-6E2F0D3B5A71}: the events' interface; the add-in never names it.
inline constexpr IID IidFakeClickEvents = {0x4A5C1E2B, 0x7D3F, 0x4B8E, {0xA1, 0xC9, 0x6E, 0x2F, 0x0D, 0x3B, 0x5A, 0x71}};

// An event source with one connection point (and its enumerator) for IidFakeClickEvents.
class FakeEventSource : public FakeDispatch,
                        public IConnectionPointContainer,
                        public IConnectionPoint,
                        public IEnumConnectionPoints {
public:
    FakeEventSource(std::wstring name, CallLog& log) : FakeDispatch(std::move(name), log) {}
    ~FakeEventSource() override;

    // Raises Click(entry, handled, CancelDefault) on the advised sink; false with no sink.
    bool click(IDispatch* entry);
    // Whether a sink is advised now.
    bool advised() const { return sink_ != nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return FakeDispatch::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return FakeDispatch::Release(); }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** copy) override;

private:
    IDispatch* sink_ = nullptr;
    bool enumerated_ = false;
};

} // namespace corvane::vbaddin::testing
