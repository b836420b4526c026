#include "vbaddin/Wizard.h"

#include "vbaddin/AddinModule.h"
#include "vbaddin/EditorRun.h"
#include "vbaddin/LateBound.h"
#include "vbaddin/MenuEntry.h"
#include "vbaddin/ProjectSync.h"

#include <olectl.h>

namespace corvane::vbaddin {

namespace {

constexpr UINT exclamation = MB_OK | MB_ICONEXCLAMATION; // VB's style 48

std::wstring widen(const char* text) {
    std::wstring result;
    for (; *text; ++text)
        result += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return result;
}

} // namespace

Wizard::Wizard() {
    objectCreated();
    icon_ = static_cast<HBITMAP>(::LoadImageW(addinModule(), MAKEINTRESOURCEW(1073), IMAGE_BITMAP, 0, 0, 0));
}

Wizard::~Wizard() {
    if (MenuHandler)
        MenuHandler->unadvise();
    if (icon_)
        ::DeleteObject(icon_);
    objectDestroyed();
}

HRESULT Wizard::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IidExtensibility2)) {
        *object = static_cast<IExtensibility2*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Wizard::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG Wizard::Release() {
    LONG left = ::InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

// The IDE calls the connection events through the interface's table; by name the object
// offers nothing.
HRESULT Wizard::GetTypeInfoCount(UINT* count) {
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT Wizard::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT Wizard::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

HRESULT Wizard::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT Wizard::OnConnection(IDispatch* application, int connectMode, IDispatch*, SAFEARRAY**) {
    if (!application)
        return E_POINTER;
    VBInstance = ComRef<IDispatch>::share(application);
    if (connectMode == External)
        return S_OK; // an external connection shows no menu entry
    try {
        mcbMenuCommandBar = AddToAddInCommandBar(application, MenuCaption, icon_);
        ComRef<IDispatch> events = getObject(application, L"Events");
        menuEvents_ = getObject(events.get(), L"CommandBarEvents", {Variant(mcbMenuCommandBar.get())});
        MenuHandler = ClickSink::advise(menuEvents_.get(), [this] { MenuHandler_Click(); });
        if (!MenuHandler)
            throw LateBoundFailure(L"CommandBarEvents", CONNECT_E_NOCONNECTION);
    } catch (const LateBoundFailure& failure) {
        // An entry nobody listens to would do nothing when clicked: it goes again.
        deleteMenuEntry(mcbMenuCommandBar.get());
        mcbMenuCommandBar.reset();
        menuEvents_.reset();
        message(L"Corvane could not add its entry to the Add-Ins menu: " + widen(failure.what()), L"Corvane");
        return failure.result();
    }
    return S_OK;
}

HRESULT Wizard::OnDisconnection(int, SAFEARRAY**) {
    if (MenuHandler) {
        MenuHandler->unadvise();
        MenuHandler.reset();
    }
    deleteMenuEntry(mcbMenuCommandBar.get());
    mcbMenuCommandBar.reset();
    menuEvents_.reset();
    VBInstance.reset();
    return S_OK;
}

HRESULT Wizard::OnAddInsUpdate(SAFEARRAY**) { return S_OK; }

HRESULT Wizard::OnStartupComplete(SAFEARRAY**) { return S_OK; }

HRESULT Wizard::OnBeginShutdown(SAFEARRAY**) { return S_OK; }

void Wizard::MenuHandler_Click() {
    if (!VBInstance)
        return;
    // The object stays alive through the click even if the IDE disconnects meanwhile.
    ComRef<IExtensibility2> self = ComRef<IExtensibility2>::share(this);
    ComRef<IDispatch> ide = VBInstance;
    try {
        ComRef<IDispatch> project = getProperty(ide.get(), L"ActiveVBProject").object();
        if (!project) {
            message(L"Please select a Project before invoking Corvane", L"No project selected");
            return;
        }
        if (getProperty(project.get(), L"FileName").text().empty()) {
            message(L"You must save this project before using Corvane with it", L"Project not saved");
            return;
        }
        runOn(project.get());
    } catch (const LateBoundFailure& failure) {
        message(L"Corvane could not work with the project in the IDE: " + widen(failure.what()), L"Corvane");
    }
}

void Wizard::runOn(IDispatch* project) {
    // What the developer changed is on disk before the editor reads it.
    if (!ProjectSync::saveChanges(project)) {
        message(L"You must save this project before using Corvane with it", L"Project not saved");
        return;
    }
    ProjectSync sync(project);
    std::wstring program = editorProgram(addinModule());
    std::wstring failure = runEditor(program, getProperty(project, L"FileName").text(), ideWindow());
    if (!failure.empty()) {
        message(L"Corvane could not start " + program + L": " + failure, L"Corvane");
        return;
    }
    sync.refresh();
}

HWND Wizard::ideWindow() const {
    try {
        ComRef<IDispatch> window = getObject(VBInstance.get(), L"MainWindow");
        return reinterpret_cast<HWND>(static_cast<INT_PTR>(getProperty(window.get(), L"HWnd").number()));
    } catch (const LateBoundFailure&) {
        return nullptr; // the messages and the wait then have no owner window
    }
}

void Wizard::message(const std::wstring& text, const std::wstring& title) const {
    ::MessageBoxW(VBInstance ? ideWindow() : nullptr, text.c_str(), title.c_str(), exclamation);
}

} // namespace corvane::vbaddin
