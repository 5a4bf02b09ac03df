#include "CardTestSupport.h"

#include "TestSupport.h"

using dshow::ComPtr;

namespace cardtest {

bool RegisterFilters()
{
    const std::string path = testsupport::ModuleDir() + "vcap.ax";
    HMODULE m = LoadLibraryA(path.c_str());
    if (!m)
        return false;
    using Fn = HRESULT(STDAPICALLTYPE*)();
    auto reg = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, "DllRegisterServer")));
    const bool ok = reg && SUCCEEDED(reg());
    FreeLibrary(m);
    return ok;
}

// Binds the filter of `category` whose "DevicePath" is `path`, as the device layer does.
ComPtr<IBaseFilter> BindByPath(const GUID& category, const std::wstring& path)
{
    ComPtr<ICreateDevEnum> devEnum;
    ComPtr<IEnumMoniker> e;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, devEnum.PutVoid())) ||
        devEnum->CreateClassEnumerator(category, e.Put(), 0) != S_OK)
        return {};
    ComPtr<IMoniker> m;
    while (e->Next(1, m.Put(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (FAILED(m->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())))
            continue;
        VARIANT v;
        VariantInit(&v);
        const bool match = SUCCEEDED(bag->Read(L"DevicePath", &v, nullptr)) && v.vt == VT_BSTR && _wcsicmp(v.bstrVal, path.c_str()) == 0;
        VariantClear(&v);
        if (!match)
            continue;
        ComPtr<IBaseFilter> f;
        if (SUCCEEDED(m->BindToObject(nullptr, nullptr, IID_IBaseFilter, f.PutVoid())))
            return f;
    }
    return {};
}

}  // namespace cardtest
