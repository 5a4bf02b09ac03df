#include "GraphHelpers.h"

#include <evcode.h>
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
    chain.sourceFilter = win::ComPtr<IBaseFilter>::Share(static_cast<IBaseFilter*>(chain.source));
    chain.stamp = new testfilters::StampingTransform(nullptr);
    chain.stampFilter = win::ComPtr<IBaseFilter>::Share(static_cast<IBaseFilter*>(chain.stamp));
    chain.renderer = new testfilters::CollectingRenderer(nullptr);
    chain.rendererFilter = win::ComPtr<IBaseFilter>::Share(static_cast<IBaseFilter*>(chain.renderer));
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
    // Wine's GetEvent may answer E_ABORT early when its queue changes under it, so a failed
    // wait is retried until the deadline.
    const DWORD start = GetTickCount();
    while (GetTickCount() - start <= timeout_ms) {
        long got = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (events->GetEvent(&got, &p1, &p2, 50) != S_OK)
            continue;
        events->FreeEventParams(got, p1, p2);
        if (got == code) {
            if (param1)
                *param1 = p1;
            return true;
        }
    }
    return false;
}

bool RunToCompletion(Chain& chain, DWORD timeout_ms)
{
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (chain.events->GetEvent(&code, &p1, &p2, 0) == S_OK)
        chain.events->FreeEventParams(code, p1, p2);
    const long ends = chain.renderer->endOfStreams.load();
    if (FAILED(chain.control->Run()))
        return false;
    return WaitForEvent(chain.events.Get(), EC_COMPLETE, timeout_ms) &&
           WaitUntil([&] { return chain.renderer->endOfStreams.load() > ends; }, timeout_ms);
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
