#include "GraphHelpers.h"

#include <uuids.h>

namespace graphtest {

HRESULT BuildChain(Chain& chain)
{
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  chain.graph.PutVoid());
    if (FAILED(hr))
        return hr;
    chain.graph.As(chain.control);
    chain.graph.As(IID_IMediaEvent, chain.events);
    chain.source = new testfilters::CountingSource(nullptr);
    chain.sourceFilter = static_cast<IBaseFilter*>(chain.source);
    chain.stamp = new testfilters::StampingTransform(nullptr);
    chain.stampFilter = static_cast<IBaseFilter*>(chain.stamp);
    chain.renderer = new testfilters::CollectingRenderer(nullptr);
    chain.rendererFilter = static_cast<IBaseFilter*>(chain.renderer);
    hr = chain.graph->AddFilter(chain.sourceFilter.Get(), L"Source");
    if (SUCCEEDED(hr))
        hr = chain.graph->AddFilter(chain.stampFilter.Get(), L"Stamper");
    if (SUCCEEDED(hr))
        hr = chain.graph->AddFilter(chain.rendererFilter.Get(), L"Renderer");
    return hr;
}

HRESULT ConnectChain(Chain& chain, const AM_MEDIA_TYPE* type)
{
    HRESULT hr = chain.graph->ConnectDirect(chain.SourceOut(), chain.StampIn(), type);
    if (SUCCEEDED(hr))
        hr = chain.graph->ConnectDirect(chain.StampOut(), chain.RendererIn(), type);
    return hr;
}

HRESULT DisconnectChain(Chain& chain)
{
    HRESULT hr = S_OK;
    for (IPin* pin : {chain.SourceOut(), chain.StampIn(), chain.StampOut(), chain.RendererIn()}) {
        const HRESULT one = chain.graph->Disconnect(pin);
        if (FAILED(one))
            hr = one;
    }
    return hr;
}

bool WaitForEvent(IMediaEvent* events, long code, DWORD timeout_ms, LONG_PTR* param1)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed > timeout_ms)
            return false;
        long got = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (events->GetEvent(&got, &p1, &p2, timeout_ms - elapsed) != S_OK)
            return false;
        events->FreeEventParams(got, p1, p2);
        if (got == code) {
            if (param1)
                *param1 = p1;
            return true;
        }
    }
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms)
            return false;
        Sleep(5);
    }
    return true;
}

}  // namespace graphtest
