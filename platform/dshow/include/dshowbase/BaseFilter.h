#pragma once
// The filter part every filter shares: state under the filter lock, graph and clock pointers,
// pin enumeration and events to the graph.
#include <windows.h>
#include <strmif.h>

#include <string>

#include <win/Lock.h>
#include "dshowbase/Unknown.h"

namespace dshow {

class BasePin;

class BaseFilter : public UnknownBase, public IBaseFilter {
public:
    // `lock` is the filter lock: it serialises state changes and is also the pins' lock.
    BaseFilter(IUnknown* outer, win::CritSec* lock, const CLSID& clsid);
    ~BaseFilter() override;

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IPersist
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout_ms, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    virtual int GetPinCount() = 0;
    virtual BasePin* GetPin(int index) = 0;

    // Posts an event to the graph's IMediaEventSink; E_NOTIMPL outside a graph. For
    // EC_COMPLETE with no filter given, the filter itself is passed as the second parameter.
    HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

    win::CritSec* FilterLock() const { return lock_; }
    FILTER_STATE State() const { return state_; }
    bool IsStopped() const { return state_ == State_Stopped; }
    bool IsActive() const { return state_ != State_Stopped; }
    REFERENCE_TIME StartTime() const { return start_; }
    IReferenceClock* Clock() const { return clock_; }
    IFilterGraph* Graph() const { return graph_; }
    // Changes whenever the set of pins changes, so open pin enumerators can notice.
    LONG PinVersion() const { return pinVersion_; }
    void IncrementPinVersion() { InterlockedIncrement(&pinVersion_); }

protected:
    win::CritSec* lock_;
    FILTER_STATE state_ = State_Stopped;
    REFERENCE_TIME start_ = 0;
    IReferenceClock* clock_ = nullptr;  // counted
    // The graph owns the filter, so the graph and its event sink are held without counts.
    IFilterGraph* graph_ = nullptr;
    IMediaEventSink* sink_ = nullptr;
    std::wstring name_;

private:
    CLSID clsid_;
    volatile LONG pinVersion_ = 1;
};

}  // namespace dshow
