#pragma once
// Shared plumbing of the graph tests: a COM apartment, a source-stamper-renderer chain in
// Wine's Filter Graph, and waiting for graph events.
#include <windows.h>
#include <control.h>
#include <strmif.h>

#include <functional>

#include "TestFilters.h"
#include <win/ComPtr.h>

namespace graphtest {

class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    HRESULT hr() const { return hr_; }

private:
    HRESULT hr_;
};

struct Chain {
    win::ComPtr<IGraphBuilder> graph;
    win::ComPtr<IMediaControl> control;
    win::ComPtr<IMediaEvent> events;
    win::ComPtr<IBaseFilter> sourceFilter, stampFilter, rendererFilter;
    testfilters::CountingSource* source = nullptr;
    testfilters::StampingTransform* stamp = nullptr;
    testfilters::CollectingRenderer* renderer = nullptr;

    IPin* SourceOut() const { return source->GetPin(0); }
    IPin* StampIn() const { return stamp->GetPin(0); }
    IPin* StampOut() const { return stamp->GetPin(1); }
    IPin* RendererIn() const { return renderer->GetPin(0); }
};

// Creates the graph and adds the three filters (not connected). Returns the first failure.
HRESULT BuildChain(Chain& chain);
// Connects source -> stamper -> renderer through the graph, with `type` when given.
HRESULT ConnectChain(Chain& chain, const AM_MEDIA_TYPE* type = nullptr);
HRESULT DisconnectChain(Chain& chain);

// Waits for one event code from the graph, skipping others; false on time-out.
bool WaitForEvent(IMediaEvent* events, long code, DWORD timeout_ms, LONG_PTR* param1 = nullptr);
// Runs the graph and waits for EC_COMPLETE from the graph and end of stream at the renderer.
// Events left from earlier runs are discarded first.
bool RunToCompletion(Chain& chain, DWORD timeout_ms);
// Polls `done` every 5 ms for up to `timeout_ms`.
bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms);

}  // namespace graphtest
