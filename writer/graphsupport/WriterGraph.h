#pragma once
// A filter graph with a ByteSource feeding a file writer (Scrivet or another by class id),
// run to its end with the graph events collected.
#include "ByteSource.h"

#include <dshowbase/ComPtr.h>

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
    // Builds source -> writer; the writer gets `fileName` through IFileSinkFilter.
    HRESULT Build(ByteSource* source, const CLSID& writer);
    HRESULT SetFileName(const std::wstring& name);
    // Runs until the graph reports completion (or `timeoutMs` passes), then stops.
    // Returns whether completion came.
    bool RunToEnd(DWORD timeoutMs = 30000);

    // Lets the graph and the writer go (the source stays): a writer finishes its file before
    // it is destroyed, however long that takes, so the file is complete afterwards.
    void ReleaseWriter();

    std::vector<GraphEvent> events;
    std::vector<long> Codes(bool withProgress = false) const;
    std::vector<uint64_t> ProgressTotals() const;

    dshow::ComPtr<IGraphBuilder> graph;
    dshow::ComPtr<IBaseFilter> sourceFilter;
    dshow::ComPtr<IBaseFilter> writer;
    dshow::ComPtr<IPin> writerInput;
};

std::wstring Wide(const std::string& text);

}  // namespace scrivet::test
