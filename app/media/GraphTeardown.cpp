// Taking graphs apart: a branch downstream of a pin, unconnected filters, everything but a few.
#include "MediaGraph.h"
#include "PinFinders.h"
#include "Trace.h"

#include <vector>

namespace media {

namespace {

bool AnyPinConnected(IBaseFilter* filter, bool inputsOnly)
{
    for (const ComPtr<IPin>& pin : EnumeratePins(filter)) {
        PIN_DIRECTION d = PINDIR_INPUT;
        pin->QueryDirection(&d);
        if ((!inputsOnly || d == PINDIR_INPUT) && IsConnected(pin.Get()))
            return true;
    }
    return false;
}

}  // namespace

HRESULT MediaGraph::RemoveDownstream(IPin* pin)
{
    if (!pin || !d_pGraph)
        return E_FAIL;
    ComPtr<IPin> peer;
    if (FAILED(pin->ConnectedTo(peer.Put())) || !peer)
        return S_OK;
    HRESULT hr = d_pGraph->Disconnect(peer.Get());
    if (FAILED(hr))
        TraceFailure("IGraphBuilder::Disconnect(peer)", hr);
    if (FAILED(hr = d_pGraph->Disconnect(pin)))
        TraceFailure("IGraphBuilder::Disconnect", hr);
    PIN_INFO info{};
    if (FAILED(peer->QueryPinInfo(&info)) || !info.pFilter)
        return S_OK;
    ComPtr<IBaseFilter> downstream = ComPtr<IBaseFilter>::Adopt(info.pFilter);
    for (const ComPtr<IPin>& p : EnumeratePins(downstream.Get())) {
        PIN_DIRECTION d = PINDIR_INPUT;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == PINDIR_OUTPUT)
            RemoveDownstream(p.Get());
    }
    if (!AnyPinConnected(downstream.Get(), true)) {
        if (FAILED(hr = d_pGraph->RemoveFilter(downstream.Get())))
            TraceFailure("IGraphBuilder::RemoveFilter", hr);
    }
    return S_OK;
}

HRESULT MediaGraph::RemoveUnconnectedFilters()
{
    if (!d_pGraph)
        return E_FAIL;
    for (const ComPtr<IBaseFilter>& f : EnumerateFilters(d_pGraph.Get())) {
        if (AnyPinConnected(f.Get(), false))
            continue;
        const HRESULT hr = d_pGraph->RemoveFilter(f.Get());
        if (FAILED(hr))
            TraceFailure("IGraphBuilder::RemoveFilter", hr);
    }
    return S_OK;
}

HRESULT MediaGraph::RemoveAllFiltersExcept(IBaseFilter* const* keep)
{
    if (!d_pGraph)
        return E_FAIL;
    // Collected first: removing while enumerating invalidates the enumerator.
    for (const ComPtr<IBaseFilter>& f : EnumerateFilters(d_pGraph.Get())) {
        bool kept = false;
        for (IBaseFilter* const* k = keep; k && *k && !kept; ++k)
            kept = *k == f.Get();
        if (kept)
            continue;
        const HRESULT hr = d_pGraph->RemoveFilter(f.Get());
        if (FAILED(hr))
            TraceFailure("IGraphBuilder::RemoveFilter", hr);
    }
    return S_OK;
}

}  // namespace media
