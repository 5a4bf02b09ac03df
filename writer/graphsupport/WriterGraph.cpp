#include "WriterGraph.h"

#include <evcode.h>

namespace scrivet::test {

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

HRESULT WriterGraph::Build(ByteSource* source, const CLSID& writerClsid)
{
    win::ComPtr<IBaseFilter> made;
    const HRESULT hr =
        CoCreateInstance(writerClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, made.PutVoid());
    if (FAILED(hr)) {
        // The source was handed over with no reference yet: it goes with its only owner.
        win::ComPtr<IBaseFilter>::Share(source).Reset();
        return hr;
    }
    return Build(source, std::move(made));
}

HRESULT WriterGraph::Build(ByteSource* source, win::ComPtr<IBaseFilter> madeWriter)
{
    // A new source holds no reference yet; this one is its first.
    sourceFilter = win::ComPtr<IBaseFilter>::Share(source);
    writer = std::move(madeWriter);
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  graph.PutVoid());
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = graph->AddFilter(sourceFilter.Get(), L"Source")) ||
        FAILED(hr = graph->AddFilter(writer.Get(), L"Writer")))
        return hr;
    win::ComPtr<IEnumPins> pins;
    if (FAILED(hr = writer->EnumPins(pins.Put())))
        return hr;
    ULONG got = 0;
    if (pins->Next(1, writerInput.Put(), &got) != S_OK)
        return E_FAIL;
    return graph->ConnectDirect(source->OutputPin(), writerInput.Get(), nullptr);
}

HRESULT WriterGraph::SetFileName(const std::wstring& name)
{
    win::ComPtr<IFileSinkFilter> sink;
    const HRESULT hr = writer->QueryInterface(IID_IFileSinkFilter, sink.PutVoid());
    if (FAILED(hr))
        return hr;
    return sink->SetFileName(name.c_str(), nullptr);
}

bool WriterGraph::RunToEnd(DWORD timeoutMs)
{
    return Run() && WaitToEnd(timeoutMs);
}

bool WriterGraph::Run()
{
    win::ComPtr<IMediaControl> control;
    return SUCCEEDED(graph->QueryInterface(IID_IMediaControl, control.PutVoid())) && SUCCEEDED(control->Run());
}

bool WriterGraph::WaitToEnd(DWORD timeoutMs)
{
    win::ComPtr<IMediaControl> control;
    win::ComPtr<IMediaEvent> mediaEvents;
    if (FAILED(graph->QueryInterface(IID_IMediaControl, control.PutVoid())) ||
        FAILED(graph->QueryInterface(IID_IMediaEvent, mediaEvents.PutVoid())))
        return false;
    bool complete = false;
    const DWORD start = GetTickCount();
    while (!complete && GetTickCount() - start < timeoutMs) {
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (mediaEvents->GetEvent(&code, &p1, &p2, 50) != S_OK)
            continue;
        events.push_back({code, p1, p2});
        mediaEvents->FreeEventParams(code, p1, p2);
        complete = code == EC_COMPLETE;
    }
    control->Stop();
    // Events posted during the stop (the end of the run).
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (mediaEvents->GetEvent(&code, &p1, &p2, 0) == S_OK) {
        events.push_back({code, p1, p2});
        mediaEvents->FreeEventParams(code, p1, p2);
    }
    return complete;
}

void WriterGraph::ReleaseWriter()
{
    writerInput.Reset();
    writer.Reset();
    graph.Reset();
}

std::vector<long> WriterGraph::Codes(bool withProgress) const
{
    std::vector<long> codes;
    for (const GraphEvent& e : events)
        if (e.code >= 0x80C8 && e.code <= 0x80CC && (withProgress || e.code != 0x80CC))
            codes.push_back(e.code);
    return codes;
}

std::vector<uint64_t> WriterGraph::ProgressTotals() const
{
    std::vector<uint64_t> totals;
    for (const GraphEvent& e : events)
        if (e.code == 0x80CC)
            totals.push_back((static_cast<uint64_t>(e.param1) << 32) + static_cast<uint32_t>(e.param2));
    return totals;
}

}  // namespace scrivet::test
