#include "dshowbase/Registration.h"

#include <uuids.h>

#include <string>

#include <win/ComPtr.h>

namespace dshow {

namespace {

std::wstring ClassKey(const CLSID& clsid)
{
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

LONG SetString(HKEY key, const wchar_t* name, const wchar_t* value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

bool IsMissing(HRESULT hr)
{
    return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

// Keeps COM initialised for the length of a registration call.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }

private:
    HRESULT hr_;
};

HRESULT RegisterWithMapper2(const FilterSetup& setup)
{
    win::ComPtr<IFilterMapper2> mapper;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                  mapper.PutVoid());
    if (FAILED(hr))
        return hr;
    REGFILTER2 data{};
    data.dwVersion = 1;
    data.dwMerit = setup.merit;
    data.cPins = setup.pinCount;
    data.rgPins = setup.pins;
    win::ComPtr<IMoniker> moniker;
    hr = mapper->RegisterFilter(*setup.clsid, setup.name, moniker.Put(), setup.category, setup.instance, &data);
    if (FAILED(hr) || setup.extras.empty())
        return hr;
    if (!moniker)
        return E_UNEXPECTED;
    win::ComPtr<IPropertyBag> bag;
    hr = moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid());
    if (FAILED(hr))
        return hr;
    for (const PropertyValue& extra : setup.extras) {
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(extra.value);
        if (!value.bstrVal)
            return E_OUTOFMEMORY;
        hr = bag->Write(extra.name, &value);
        VariantClear(&value);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT RegisterWithMapper1(const FilterSetup& setup)
{
    // The first mapper knows only the legacy category and no property-bag values.
    if ((setup.category && *setup.category != CLSID_LegacyAmFilterCategory) || !setup.extras.empty())
        return E_NOTIMPL;
    win::ComPtr<IFilterMapper> mapper;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper,
                                  mapper.PutVoid());
    if (FAILED(hr))
        return hr;
    hr = mapper->RegisterFilter(*setup.clsid, setup.name, setup.merit);
    for (UINT p = 0; SUCCEEDED(hr) && p < setup.pinCount; ++p) {
        const REGFILTERPINS& pin = setup.pins[p];
        hr = mapper->RegisterPin(*setup.clsid, pin.strName, pin.bRendered, pin.bOutput, pin.bZero, pin.bMany,
                                 pin.clsConnectsToFilter ? *pin.clsConnectsToFilter : CLSID_NULL,
                                 pin.strConnectsToPin);
        for (UINT t = 0; SUCCEEDED(hr) && t < pin.nMediaTypes; ++t)
            hr = mapper->RegisterPinType(*setup.clsid, pin.strName, *pin.lpMediaType[t].clsMajorType,
                                         *pin.lpMediaType[t].clsMinorType);
    }
    if (FAILED(hr))
        mapper->UnregisterFilter(*setup.clsid);
    return hr;
}

}  // namespace

HRESULT RegisterComClass(const CLSID& clsid, const wchar_t* name, const wchar_t* module_path,
                         const wchar_t* threading_model)
{
    const std::wstring key_name = ClassKey(clsid);
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    rc = SetString(key, nullptr, name);
    HKEY server = nullptr;
    if (rc == ERROR_SUCCESS)
        rc = RegCreateKeyExW(key, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &server, nullptr);
    if (rc == ERROR_SUCCESS) {
        rc = SetString(server, nullptr, module_path);
        if (rc == ERROR_SUCCESS)
            rc = SetString(server, L"ThreadingModel", threading_model);
        RegCloseKey(server);
    }
    RegCloseKey(key);
    return HRESULT_FROM_WIN32(rc);
}

HRESULT UnregisterComClass(const CLSID& clsid)
{
    const LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(clsid).c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND)
        return S_OK;
    return HRESULT_FROM_WIN32(rc);
}

HRESULT RegisterFilter(const FilterSetup& setup, MapperVersion version)
{
    HRESULT hr = E_FAIL;
    if (version != MapperVersion::Version1Only) {
        hr = RegisterWithMapper2(setup);
        if (SUCCEEDED(hr) || version == MapperVersion::Version2Only)
            return hr;
    }
    return RegisterWithMapper1(setup);
}

HRESULT UnregisterFilter(const FilterSetup& setup, MapperVersion version)
{
    HRESULT hr = E_FAIL;
    if (version != MapperVersion::Version1Only) {
        win::ComPtr<IFilterMapper2> mapper;
        hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                              mapper.PutVoid());
        if (SUCCEEDED(hr)) {
            hr = mapper->UnregisterFilter(setup.category, setup.instance, *setup.clsid);
            return IsMissing(hr) ? S_OK : hr;
        }
        if (version == MapperVersion::Version2Only)
            return hr;
    }
    win::ComPtr<IFilterMapper> mapper;
    hr = CoCreateInstance(CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper, mapper.PutVoid());
    if (FAILED(hr))
        return hr;
    hr = mapper->UnregisterFilter(*setup.clsid);
    return IsMissing(hr) ? S_OK : hr;
}

HRESULT RegisterServer(std::span<const FactoryTemplate> classes)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(ThisModule(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return HRESULT_FROM_WIN32(length ? ERROR_INSUFFICIENT_BUFFER : GetLastError());
    ComScope com;
    for (const FactoryTemplate& entry : classes) {
        HRESULT hr = RegisterComClass(*entry.clsid, entry.name, path);
        if (SUCCEEDED(hr) && entry.filter)
            hr = RegisterFilter(*entry.filter);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT UnregisterServer(std::span<const FactoryTemplate> classes)
{
    ComScope com;
    HRESULT result = S_OK;
    for (const FactoryTemplate& entry : classes) {
        if (entry.filter) {
            const HRESULT hr = UnregisterFilter(*entry.filter);
            if (FAILED(hr) && SUCCEEDED(result))
                result = hr;
        }
        const HRESULT hr = UnregisterComClass(*entry.clsid);
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

}  // namespace dshow
