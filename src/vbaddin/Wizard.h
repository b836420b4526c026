// Wizard: the connect object the IDE creates: it installs the menu entry and, on its click,
// runs the editor on the active project and brings the IDE up to date afterwards.
#pragma once

#include "vbaddin/ClickSink.h"
#include "vbaddin/ComRef.h"
#include "vbaddin/Extensibility.h"

#include <string>

namespace corvane::vbaddin {

// The add-in's connect object (IDTExtensibility2).
class Wizard : public IExtensibility2 {
public:
    // A new object with one reference, the caller's.
    Wizard();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override;
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, int connectMode, IDispatch* addInInstance,
                                           SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnDisconnection(int removeMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

    // The menu entry's Click: checks the active project, saves it, runs the editor, refreshes.
    void MenuHandler_Click();

private:
    virtual ~Wizard();

    void message(const std::wstring& text, const std::wstring& title) const;
    HWND ideWindow() const;
    void runOn(IDispatch* project);

    LONG references_ = 1;
    ComRef<IDispatch> VBInstance;
    ComRef<IDispatch> mcbMenuCommandBar;
    ComRef<IDispatch> menuEvents_;
    ComRef<ClickSink> MenuHandler;
    HBITMAP icon_ = nullptr;
};

} // namespace corvane::vbaddin
