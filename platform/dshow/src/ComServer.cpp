#include "dshowbase/ComServer.h"

#include <new>

namespace dshow {

ClassFactory::ClassFactory(const FactoryTemplate& entry) : entry_(entry)
{
    // A live factory keeps the server loaded just as an object does.
    dshow::LockServer(true);
}

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) ClassFactory::Release()
{
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) {
        delete this;
        dshow::LockServer(false);
    }
    return left;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer && iid != IID_IUnknown)
        return CLASS_E_NOAGGREGATION;
    HRESULT hr = S_OK;
    INonDelegatingUnknown* object = entry_.create(outer, &hr);
    if (!object)
        return FAILED(hr) ? hr : E_OUTOFMEMORY;
    if (FAILED(hr)) {
        // A partly made object: take and drop a reference so it destroys itself.
        object->NonDelegatingAddRef();
        object->NonDelegatingRelease();
        return hr;
    }
    object->NonDelegatingAddRef();
    hr = object->NonDelegatingQueryInterface(iid, out);
    object->NonDelegatingRelease();
    return hr;
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock)
{
    dshow::LockServer(lock != FALSE);
    return S_OK;
}

HRESULT GetClassObject(std::span<const FactoryTemplate> classes, REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IClassFactory && iid != IID_IUnknown)
        return E_NOINTERFACE;
    for (const FactoryTemplate& entry : classes) {
        if (*entry.clsid != clsid)
            continue;
        auto* factory = new (std::nothrow) ClassFactory(entry);
        if (!factory)
            return E_OUTOFMEMORY;
        return factory->QueryInterface(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow()
{
    return LiveObjectCount() == 0 && ServerLockCount() == 0 ? S_OK : S_FALSE;
}

HMODULE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

}  // namespace dshow
