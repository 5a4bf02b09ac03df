#include "CompanionFilter.h"

#include "DeviceFilters.h"
#include "MediaGraph.h"
#include "Trace.h"

namespace media {

namespace {

std::wstring ReadBagWide(IPropertyBag* bag, const wchar_t* name)
{
    VARIANT v;
    VariantInit(&v);
    std::wstring text;
    if (SUCCEEDED(bag->Read(name, &v, nullptr)) && v.vt == VT_BSTR && v.bstrVal)
        text = v.bstrVal;
    VariantClear(&v);
    return text;
}

}  // namespace

HRESULT FindCompanionFilter(IBaseFilter* source, const GUID& category, bool renderAll, IBaseFilter** companion,
                            devices::DeviceInfo* info, CLSID* clsid, std::string* friendlyName)
{
    if (!source || !companion)
        return E_FAIL;
    *companion = nullptr;
    MediaGraph scratch;
    HRESULT hr = scratch.CreateGraph();
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = scratch.Graph()->AddFilter(source, L"Source")))
        return TraceFailure("IGraphBuilder::AddFilter(Source)", hr);

    ComPtr<ICreateDevEnum> devEnum;
    ComPtr<IEnumMoniker> monikers;
    hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, devEnum.PutVoid());
    if (FAILED(hr))
        return TraceFailure("CoCreateInstance(CLSID_SystemDeviceEnum)", hr);
    HRESULT result = E_FAIL;
    if (devEnum->CreateClassEnumerator(category, monikers.Put(), 0) == S_OK) {
        ComPtr<IMoniker> moniker;
        while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) {
            ComPtr<IPropertyBag> bag;
            if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())))
                continue;
            const std::wstring name = ReadBagWide(bag.Get(), L"FriendlyName");
            ComPtr<IBaseFilter> candidate;
            if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, candidate.PutVoid())) || !candidate)
                continue;
            if (FAILED(scratch.Graph()->AddFilter(candidate.Get(), name.empty() ? L"Some Filter" : name.c_str())))
                continue;
            const HRESULT connected = renderAll ? scratch.RenderAllOutputs(source, candidate.Get())
                                                : scratch.ConnectByMedium(source, candidate.Get());
            if (FAILED(connected)) {
                scratch.Graph()->RemoveFilter(candidate.Get());
                continue;
            }
            if (friendlyName)
                *friendlyName = devices::Narrow(name.c_str());
            if (info)
                devices::FindDeviceInfoByPath(devices::Narrow(ReadBagWide(bag.Get(), L"DevicePath").c_str()).c_str(), info, &category);
            if (clsid) {
                const std::wstring text = ReadBagWide(bag.Get(), L"CLSID");
                if (text.empty() || FAILED(CLSIDFromString(text.c_str(), clsid)))
                    *clsid = GUID_NULL;
            }
            *companion = candidate.Detach();
            result = S_OK;
            break;
        }
    }
    // The scratch graph lets go of the source (and the companion) before it goes.
    IBaseFilter* keepNone[] = {nullptr};
    scratch.RemoveAllFiltersExcept(keepNone);
    return result;
}

}  // namespace media
