#include "MediaGraph.h"

#include "DeviceFilters.h"
#include "Trace.h"

#include <cstdio>

namespace media {

namespace {

// How long a pending state change may take before we give up waiting.
constexpr DWORD kStateWaitMs = 3000;

bool FindFilterByName(IGraphBuilder* graph, const wchar_t* name, ComPtr<IBaseFilter>& found)
{
    return graph && name && SUCCEEDED(graph->FindFilterByName(name, found.Put())) && found;
}

}  // namespace

std::wstring RotItemName(const void* graph, DWORD processId)
{
    wchar_t name[64];
    swprintf(name, 64, L"FilterGraph %08x pid %08x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(graph)),
             static_cast<unsigned>(processId));
    return name;
}

MediaGraph::~MediaGraph()
{
    DestroyGraph();
}

HRESULT MediaGraph::CreateGraph()
{
    if (d_pGraph)
        return S_OK;
    if (!comInitialized_)
        comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const HRESULT hr =
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IGraphBuilder, d_pGraph.PutVoid());
    if (FAILED(hr))
        return TraceFailure("CoCreateInstance(CLSID_FilterGraph) d_pGraph", hr);
    RegisterInRot();
    return S_OK;
}

void MediaGraph::RegisterInRot()
{
    ComPtr<IRunningObjectTable> rot;
    HRESULT hr = GetRunningObjectTable(0, rot.Put());
    if (FAILED(hr)) {
        TraceFailure("GetRunningObjectTable", hr);
        return;
    }
    ComPtr<IMoniker> moniker;
    const std::wstring item = RotItemName(d_pGraph.Get(), GetCurrentProcessId());
    hr = CreateItemMoniker(L"!", item.c_str(), moniker.Put());
    if (FAILED(hr)) {
        TraceFailure("CreateItemMoniker", hr);
        return;
    }
    if (FAILED(hr = rot->Register(0, d_pGraph.Get(), moniker.Get(), &rotCookie_))) {
        rotCookie_ = 0;
        TraceFailure("IRunningObjectTable::Register", hr);
    }
}

void MediaGraph::RevokeFromRot()
{
    if (!rotCookie_)
        return;
    ComPtr<IRunningObjectTable> rot;
    if (SUCCEEDED(GetRunningObjectTable(0, rot.Put())))
        rot->Revoke(rotCookie_);
    rotCookie_ = 0;
}

void MediaGraph::DestroyGraph()
{
    RevokeFromRot();
    captureFilter.Reset();
    crossbarFilter.Reset();
    encoderFilter.Reset();
    demuxFilter.Reset();
    streamPin.Reset();
    teeFilter.Reset();
    namedFilters.clear();
    if (d_pGraph) {
        RemoveAllFiltersExcept(nullptr);
        d_pGraph.Reset();
    }
    if (comInitialized_) {
        CoUninitialize();
        comInitialized_ = false;
    }
}

HRESULT MediaGraph::RunGraph()
{
    if (!d_pGraph)
        return E_FAIL;
    ComPtr<IMediaControl> control;
    HRESULT hr = d_pGraph->QueryInterface(IID_IMediaControl, control.PutVoid());
    if (FAILED(hr))
        return TraceFailure("QueryInterface(IMediaControl) m_pMC", hr);
    hr = control->Run();
    if (FAILED(hr)) {
        control->Stop();
        return TraceFailure("IMediaControl::Run", hr);
    }
    if (hr == S_FALSE) {
        OAFilterState state = State_Stopped;
        control->GetState(kStateWaitMs, &state);
    }
    return S_OK;
}

HRESULT MediaGraph::StopGraph()
{
    if (!d_pGraph)
        return E_FAIL;
    ComPtr<IMediaControl> control;
    HRESULT hr = d_pGraph->QueryInterface(IID_IMediaControl, control.PutVoid());
    if (FAILED(hr))
        return TraceFailure("QueryInterface(IMediaControl) m_pMC", hr);
    hr = control->Stop();
    if (FAILED(hr))
        return TraceFailure("IMediaControl::Stop", hr);
    if (hr == S_FALSE) {
        OAFilterState state = State_Stopped;
        control->GetState(kStateWaitMs, &state);
    }
    return hr;
}

HRESULT MediaGraph::AddNamedFilter(IBaseFilter* candidate, const CLSID* clsid, const wchar_t* name, IBaseFilter** filter)
{
    ComPtr<IBaseFilter> existing;
    if (FindFilterByName(d_pGraph.Get(), name, existing)) {
        if (candidate && candidate != existing.Get())
            return 1;  // another filter already carries this name
        if (filter && !*filter)
            *filter = existing.Detach();
        return S_OK;
    }
    ComPtr<IBaseFilter> toAdd = ComPtr<IBaseFilter>::Share(candidate);
    if (!toAdd) {
        if (!clsid)
            return E_FAIL;
        const HRESULT hr = CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, toAdd.PutVoid());
        if (FAILED(hr))
            return TraceFailure("CoCreateInstance(filter)", hr);
    }
    const HRESULT hr = d_pGraph->AddFilter(toAdd.Get(), name);
    if (FAILED(hr))
        return TraceFailure("IGraphBuilder::AddFilter", hr);
    if (filter && !*filter)
        *filter = toAdd.Detach();
    return S_OK;
}

HRESULT MediaGraph::AddFilterByClsid(const CLSID& clsid, const wchar_t* name, IBaseFilter** filter)
{
    const HRESULT hr = CreateGraph();
    if (FAILED(hr))
        return hr;
    return AddNamedFilter(filter ? *filter : nullptr, &clsid, name, filter);
}

HRESULT MediaGraph::AddDeviceFilter(const GUID& category, const char* friendlyName, const char* devicePath, DWORD devInst,
                                    const wchar_t* name, IBaseFilter** filter)
{
    HRESULT hr = CreateGraph();
    if (FAILED(hr))
        return hr;
    ComPtr<IBaseFilter> device = ComPtr<IBaseFilter>::Share(filter ? *filter : nullptr);
    std::string deviceName;
    if (!device) {
        if (friendlyName && *friendlyName)
            hr = devices::FindDeviceFilter(category, friendlyName, nullptr, device.Put(), &deviceName);
        else if (devicePath && *devicePath)
            hr = devices::FindDeviceFilter(category, nullptr, devicePath, device.Put(), &deviceName);
        else
            hr = devices::FindDeviceFilterByInstance(devInst, category, device.Put(), &deviceName, nullptr);
        if (FAILED(hr) || !device) {
            DebugLine("no device filter found (0x%08lX)", static_cast<unsigned long>(hr));
            return E_FAIL;
        }
    }
    std::wstring filterName = name ? name : devices::Widen(deviceName);
    if (filterName.empty())
        filterName = L"Some Filter";
    ComPtr<IBaseFilter> existing;
    if (FindFilterByName(d_pGraph.Get(), filterName.c_str(), existing)) {
        // Only a filter the caller brought can clash with the one already there.
        if (filter && *filter && *filter != existing.Get())
            return 1;
        if (filter && !*filter)
            *filter = existing.Detach();
        return S_OK;
    }
    hr = d_pGraph->AddFilter(device.Get(), filterName.c_str());
    if (FAILED(hr))
        return TraceFailure("IGraphBuilder::AddFilter(device)", hr);
    if (filter && !*filter)
        *filter = device.Detach();
    return S_OK;
}

HRESULT MediaGraph::AddDeviceFilterByPath(const char* devicePath, const GUID& category, IBaseFilter** filter)
{
    if (!devicePath || !*devicePath)
        return E_FAIL;
    return AddDeviceFilter(category, nullptr, devicePath, 0, nullptr, filter);
}

bool ClsidFromText(const std::string& text, CLSID* clsid)
{
    if (text.empty())
        return false;
    const std::wstring wide(text.begin(), text.end());
    return SUCCEEDED(CLSIDFromString(wide.c_str(), clsid));
}

}  // namespace media
