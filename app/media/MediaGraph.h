#pragma once
// One DirectShow filter graph with its running-object-table registration, and the graph
// operations every graph-building part of the program shares. Results are COM codes; every
// failing DirectShow call is traced to the debugger output, never shown to the user here.
#include <win/ComPtr.h>

#include <windows.h>
#include <dshow.h>

#include <map>
#include <string>

namespace media {

using win::ComPtr;

class MediaGraph {
public:
    MediaGraph() = default;
    ~MediaGraph();
    MediaGraph(const MediaGraph&) = delete;
    MediaGraph& operator=(const MediaGraph&) = delete;

    HRESULT CreateGraph();
    void DestroyGraph();
    // Run; a failed Run stops the graph again. Waits up to 3 s for a pending transition.
    HRESULT RunGraph();
    HRESULT StopGraph();

    // Adds a new instance of `clsid` (or the caller's filter) under `name`. A filter already
    // in the graph under that name is reused (0), or, when the caller passed a different
    // filter, nothing is added and the result is 1.
    HRESULT AddFilterByClsid(const CLSID& clsid, const wchar_t* name, IBaseFilter** filter);
    // Adds a device's filter found in `category` by friendly name, else device path, else
    // device instance (and its relatives); named `name`, else the device's friendly name.
    HRESULT AddDeviceFilter(const GUID& category, const char* friendlyName, const char* devicePath, DWORD devInst,
                            const wchar_t* name, IBaseFilter** filter);
    HRESULT AddDeviceFilterByPath(const char* devicePath, const GUID& category, IBaseFilter** filter);

    // Connects directly (never through intermediate filters). Pins already connected to each
    // other succeed untouched; a pin connected elsewhere gives E_FAIL.
    HRESULT ConnectPins(IPin* input, IPin* output, const AM_MEDIA_TYPE* type);
    HRESULT ConnectToFirstInput(IBaseFilter* filter, IPin* output);
    // Renders every free video, audio or stream output of `source` to `target`; 0 when at
    // least one output is connected afterwards.
    HRESULT RenderAllOutputs(IBaseFilter* source, IBaseFilter* target);
    // Connects outputs of `source` to pins of `target` that share a medium (or, for pins
    // without mediums, a media type); 0 when at least one pin connected.
    HRESULT ConnectByMedium(IBaseFilter* source, IBaseFilter* target);

    HRESULT RemoveDownstream(IPin* pin);
    HRESULT RemoveUnconnectedFilters();
    // `keep` is a null-terminated list (may be null: remove all).
    HRESULT RemoveAllFiltersExcept(IBaseFilter* const* keep);

    IGraphBuilder* Graph() const { return d_pGraph.Get(); }
    DWORD RotCookie() const { return rotCookie_; }

    // The graph's well-known members, filled by the capture, crossbar and playback code.
    ComPtr<IBaseFilter> captureFilter;
    ComPtr<IBaseFilter> crossbarFilter;
    ComPtr<IBaseFilter> encoderFilter;
    ComPtr<IBaseFilter> demuxFilter;
    ComPtr<IPin> streamPin;
    ComPtr<IBaseFilter> teeFilter;
    std::map<std::wstring, ComPtr<IBaseFilter>> namedFilters;

private:
    HRESULT AddNamedFilter(IBaseFilter* candidate, const CLSID* clsid, const wchar_t* name, IBaseFilter** filter);
    void RegisterInRot();
    void RevokeFromRot();

    ComPtr<IGraphBuilder> d_pGraph;
    DWORD rotCookie_ = 0;
    bool comInitialized_ = false;
};

// A class identifier in its registry text form ("{...}"); false for an empty or malformed text.
bool ClsidFromText(const std::string& text, CLSID* clsid);

// The running-object-table item name of a graph.
std::wstring RotItemName(const void* graph, DWORD processId);

}  // namespace media
