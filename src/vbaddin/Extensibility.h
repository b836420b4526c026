// Extensibility: the IDE's add-in connection interface, declared from its public
// description (a dual interface; the IDE calls it through the table of functions).
#pragma once

#include <oaidl.h>

namespace corvane::vbaddin {

// {B65AD801-ABAF-11D0-BB8B-00A0C90F2744}
inline constexpr IID IidExtensibility2 = {0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

// How the IDE connected the add-in (ext_ConnectMode).
enum ConnectMode : int { AfterStartup = 0, Startup = 1, External = 2, CommandLine = 3 };

// The connection events, in the interface's order after IDispatch's.
struct IExtensibility2 : public IDispatch {
    // The IDE connects the add-in: `application` is the IDE's root object (VBE).
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, int connectMode, IDispatch* addInInstance,
                                                   SAFEARRAY** custom) = 0;
    // The IDE disconnects the add-in.
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(int removeMode, SAFEARRAY** custom) = 0;
    // The IDE's list of add-ins changed.
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    // The IDE finished starting.
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    // The IDE begins to shut down.
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;

protected:
    ~IExtensibility2() = default;
};

} // namespace corvane::vbaddin
