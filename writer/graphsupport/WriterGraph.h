#pragma once
// A filter graph with a ByteSource feeding a file writer (Scrivet or another by class id),
// run to its end with the graph events collected.
#include "ByteSource.h"

#include <win/ComPtr.h>

#include <control.h>
#include <dshow.h>

#include <string>
#include <vector>

namespace scrivet::test {

struct GraphEvent {
    long code;
    LONG_PTR param1;
    LONG_PTR param2;
};

class WriterGraph {
public:
    // Builds source -> writer, the writer made by COM from its class id.
    HRESULT Build(ByteSource* source, const CLSID& writer);
    // The same with a writer made by the caller.
    HRESULT Build(ByteSource* source, win::ComPtr<IBaseFilter> writer);
    HRESULT SetFileName(const std::wstring& name);
    // Runs until the graph reports completion (or `timeoutMs` passes), then stops.
    // Returns whether completion came.
    bool RunToEnd(DWORD timeoutMs = 30000);
    // The same in two steps, for tests that act while the graph runs.
    bool Run();
    bool WaitToEnd(DWORD timeoutMs = 30000);

    // Lets the graph and the writer go (the source stays): a writer finishes its file before
    // it is destroyed, however long that takes, so the file is complete afterwards.
    void ReleaseWriter();

    std::vector<GraphEvent> events;
    std::vector<long> Codes(bool withProgress = false) const;
    std::vector<uint64_t> ProgressTotals() const;

    win::ComPtr<IGraphBuilder> graph;
    win::ComPtr<IBaseFilter> sourceFilter;
    win::ComPtr<IBaseFilter> writer;
    win::ComPtr<IPin> writerInput;
};

std::wstring Wide(const std::string& text);

}  // namespace scrivet::test
