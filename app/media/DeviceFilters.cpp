#include "DeviceFilters.h"

#include "Trace.h"
#include <win/ComPtr.h>

#include <vector>

namespace devices {

using win::ComPtr;

namespace {

const HRESULT kFileNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

std::string ReadBagText(IPropertyBag* bag, const wchar_t* name)
{
    VARIANT v;
    VariantInit(&v);
    std::string text;
    if (SUCCEEDED(bag->Read(name, &v, nullptr)) && v.vt == VT_BSTR && v.bstrVal)
        text = Narrow(v.bstrVal);
    VariantClear(&v);
    return text;
}

}  // namespace

std::wstring Widen(const std::string& s)
{
    if (s.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> buf(n > 0 ? n : 1, 0);
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, buf.data(), n);
    return buf.data();
}

std::string Narrow(const wchar_t* s)
{
    if (!s || !*s)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> buf(n > 0 ? n : 1, 0);
    WideCharToMultiByte(CP_ACP, 0, s, -1, buf.data(), n, nullptr, nullptr);
    return buf.data();
}

HRESULT FindDeviceFilter(const GUID& category, const char* friendlyName, const char* devicePath, IBaseFilter** filter,
                         std::string* name)
{
    if (!filter) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_POINTER;
    }
    *filter = nullptr;
    ComPtr<ICreateDevEnum> devEnum;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, devEnum.PutVoid());
    if (FAILED(hr))
        return media::TraceFailure("CoCreateInstance(CLSID_SystemDeviceEnum)", hr);
    ComPtr<IEnumMoniker> monikers;
    hr = devEnum->CreateClassEnumerator(category, monikers.Put(), 0);
    if (hr != S_OK)
        return E_UNEXPECTED;  // an empty category answers S_FALSE with no enumerator
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())))
            continue;
        if (devicePath && *devicePath && _stricmp(ReadBagText(bag.Get(), L"DevicePath").c_str(), devicePath) != 0)
            continue;
        const std::string friendly = ReadBagText(bag.Get(), L"FriendlyName");
        if (friendlyName && *friendlyName && _stricmp(friendly.c_str(), friendlyName) != 0)
            continue;
        hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter));
        if (hr == kFileNotFound) {
            // Some drivers report their device as missing at bind and still hand back nothing
            // usable; the caller sees the empty filter.
            hr = S_OK;
        } else if (FAILED(hr)) {
            return media::TraceFailure("IMoniker::BindToObject", hr);
        }
        if (name)
            *name = friendly;
        return hr;
    }
    return E_UNEXPECTED;
}

HRESULT FindDeviceFilterByInstance(DWORD devInst, const GUID& category, IBaseFilter** filter, std::string* name,
                                   DeviceInfo* info)
{
    if (!filter) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_POINTER;
    }
    *filter = nullptr;
    std::string path;
    if (!FindDevicePathByInstance(devInst, &category, &path, true))
        return E_UNEXPECTED;
    const HRESULT hr = FindDeviceFilter(category, nullptr, path.c_str(), filter, name);
    if (SUCCEEDED(hr) && info)
        FindDeviceInfoByPath(path.c_str(), info, &category);
    return hr;
}

}  // namespace devices
