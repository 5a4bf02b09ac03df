#include "VideoSources.h"

#include "Trace.h"
#include <win/ComPtr.h>

namespace media {

namespace {

struct Probe {
    long physicalType;
    int nth;  // 1 = the first input of that type
    int source;
};

constexpr Probe kProbes[] = {
    {PhysConn_Video_SVideo, 1, 0},    {PhysConn_Video_Composite, 1, 1}, {PhysConn_Video_Composite, 2, 2},
    {PhysConn_Video_AUX, 1, 2},       {PhysConn_Video_SVideo, 2, 4},    {PhysConn_Video_Tuner, 1, 3},
    {PhysConn_Video_YRYBY, 1, 5},
};

bool HasNth(const std::vector<long>& types, long type, int nth)
{
    int seen = 0;
    for (long t : types) {
        if (t == type && ++seen == nth)
            return true;
    }
    return false;
}

VideoSourceList Fallback()
{
    VideoSourceList list;
    list.sources[0] = 0;
    list.sources[1] = 1;
    list.count = 2;
    return list;
}

}  // namespace

VideoSourceList VideoSourcesFromInputs(const std::vector<long>& physicalTypes)
{
    VideoSourceList list;
    for (const Probe& probe : kProbes) {
        if (list.count < kMaxVideoSources && HasNth(physicalTypes, probe.physicalType, probe.nth))
            list.sources[static_cast<size_t>(list.count++)] = probe.source;
    }
    return list.count > 0 ? list : Fallback();
}

HRESULT ListVideoSources(IBaseFilter* crossbarFilter, VideoSourceList* list)
{
    if (!list)
        return E_POINTER;
    *list = Fallback();
    win::ComPtr<IAMCrossbar> crossbar;
    HRESULT hr = crossbarFilter ? crossbarFilter->QueryInterface(IID_IAMCrossbar, crossbar.PutVoid()) : E_FAIL;
    if (FAILED(hr))
        return hr;
    long outputs = 0, inputs = 0;
    if (FAILED(hr = crossbar->get_PinCounts(&outputs, &inputs)))
        return TraceFailure("IAMCrossbar::get_PinCounts", hr);
    std::vector<long> types;
    for (long i = 0; i < inputs; ++i) {
        long related = -1, type = 0;
        if (SUCCEEDED(hr = crossbar->get_CrossbarPinInfo(TRUE, i, &related, &type)))
            types.push_back(type);
        else
            TraceFailure("IAMCrossbar::get_CrossbarPinInfo", hr);
    }
    *list = VideoSourcesFromInputs(types);
    return S_OK;
}

int VideoSourceNameText(int source)
{
    constexpr int kTexts[] = {3002, 3003, 3004, 3005, 3010, 3053};
    return source >= 0 && source < 6 ? kTexts[source] : 0;
}

}  // namespace media
