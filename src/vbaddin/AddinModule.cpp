// The DLL's entry points: what Windows, COM and regsvr32 call.
#include "vbaddin/AddinModule.h"

#include "vbaddin/ClassFactory.h"
#include "vbaddin/Registration.h"

#include <new>
#include <olectl.h>

#include <vector>

namespace corvane::vbaddin {

namespace {

HMODULE moduleHandle = nullptr;
LONG living = 0;

} // namespace

HMODULE addinModule() { return moduleHandle; }

void objectCreated() { ::InterlockedIncrement(&living); }

void objectDestroyed() { ::InterlockedDecrement(&living); }

bool unloadable() { return living == 0; }

} // namespace corvane::vbaddin

using namespace corvane::vbaddin;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        moduleHandle = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, ClsidWizard))
        return CLASS_E_CLASSNOTAVAILABLE;
    ClassFactory* factory = new (std::nothrow) ClassFactory();
    if (!factory)
        return E_OUTOFMEMORY;
    HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return unloadable() ? S_OK : S_FALSE; }

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    std::vector<wchar_t> name(32768);
    DWORD length = ::GetModuleFileNameW(addinModule(), name.data(), static_cast<DWORD>(name.size()));
    if (length == 0 || length >= name.size())
        return SELFREG_E_CLASS;
    return registerAddin(std::wstring(name.data(), length));
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() { return unregisterAddin(); }
