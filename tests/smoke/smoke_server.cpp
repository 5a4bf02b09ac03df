// A minimal in-process COM server for the smoke test: one class whose objects answer
// IPersist::GetClassID, self-registered under HKCR\CLSID with ThreadingModel "Both".
#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "smoke_ids.h"

namespace {

HMODULE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

CLSID SmokeClsid()
{
    CLSID clsid{};
    CLSIDFromString(const_cast<LPOLESTR>(L"" SMOKE_CLSID_TEXT), &clsid);
    return clsid;
}

class Greeter final : public IPersist {
public:
    Greeter() { ++g_objects; }
    ~Greeter() { --g_objects; }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IPersist) {
            *out = static_cast<IPersist*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --refs_;
        if (!left)
            delete this;
        return left;
    }
    STDMETHODIMP GetClassID(CLSID* out) override
    {
        if (!out)
            return E_POINTER;
        *out = SmokeClsid();
        return S_OK;
    }

private:
    std::atomic<ULONG> refs_{1};
};

class Factory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        Greeter* greeter = new Greeter;
        const HRESULT hr = greeter->QueryInterface(iid, out);
        greeter->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }
};

Factory g_factory;

const std::string kClsidKey = std::string("CLSID\\") + SMOKE_CLSID_TEXT;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (clsid != SmokeClsid())
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

HRESULT STDAPICALLTYPE DllRegisterServer()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(g_module, path, MAX_PATH);
    HKEY key = nullptr;
    const std::string server = kClsidKey + "\\InprocServer32";
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, server.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    const char model[] = "Both";
    LONG rc = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                             static_cast<DWORD>(strlen(path) + 1));
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExA(key, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model),
                            sizeof(model));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    const LONG rc = RegDeleteTreeA(HKEY_CLASSES_ROOT, kClsidKey.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

}  // extern "C"
