// Scrivet's COM server exports. The writer filter class is not served yet, so the server
// answers honestly that it has no classes and cannot register any.
#include <windows.h>
#include <objbase.h>

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID, REFIID, void** out)
{
    if (out)
        *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return S_OK;
}

HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return E_NOTIMPL;
}

HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return E_NOTIMPL;
}

}  // extern "C"
