// ClickSink: the add-in's listener on the menu entry's event source (the IDE's command bar
// events), which answers every event of that source as the entry's Click.
#pragma once

#include "vbaddin/ComRef.h"

#include <oaidl.h>
#include <ocidl.h>

#include <functional>

namespace corvane::vbaddin {

// An IDispatch sink for one connection point, whose interface is known only at run time.
class ClickSink : public IDispatch {
public:
    // Advises a new sink on the first connection point of `source` and returns it (null, with
    // nothing advised, where the source has none). Each Invoke runs `onClick`.
    static ComRef<ClickSink> advise(IDispatch* source, std::function<void()> onClick);
    // Ends the subscription (once; later calls do nothing).
    void unadvise();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override;

private:
    ClickSink(const IID& events, std::function<void()> onClick);
    virtual ~ClickSink() = default;

    LONG references_ = 1;
    IID events_;
    std::function<void()> onClick_;
    ComRef<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

} // namespace corvane::vbaddin
