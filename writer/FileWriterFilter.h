#pragma once
// The writer filter: every byte that reaches its input pin goes, in arrival order, through a
// sector-aligned ring to one file written without the system cache by a writer thread, which
// enforces the run's limit and finishes the file (exact length, repaired stream tail).
#include "FileName.h"
#include "RunTrace.h"
#include "ScrivetInterfaces.h"
#include "Storage.h"
#include "WriteLimit.h"
#include "WriterClock.h"
#include "WriterEvents.h"
#include "WriterInputPin.h"
#include "WriterRuns.h"

#include <dshowbase/BaseFilter.h>
#include <dshowbase/SeekingPassThru.h>

#include <win/Lock.h>

#include <atomic>
#include <memory>
#include <string>

namespace scrivet {

class FileWriterFilter final : public dshow::BaseFilter,
                               public IFileSinkFilter,
                               public IWriterSizeLimit,
                               public WriterEventSink {
public:
    // The class factory's creation function: files and volumes are the system's.
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    // The same filter over other storage (test modules).
    static dshow::INonDelegatingUnknown* CreateWith(IUnknown* outer, Storage& storage,
                                                    HRESULT* hr);

    FileWriterFilter(IUnknown* outer, Storage& storage);
    ~FileWriterFilter() override;

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IFileSinkFilter
    STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* type) override;
    // IWriterSizeLimit
    STDMETHODIMP SetSizeLimit(LONGLONG limit) override;
    STDMETHODIMP GetSizeLimit(LONGLONG* limit) override;
    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    // Leaving the graph gives a run still finishing its file a bounded time to do so (its
    // events go to the graph's sink), then cuts it off from the graph.
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;

    int GetPinCount() override;
    dshow::BasePin* GetPin(int index) override;

    // From the pin, on the streaming thread.
    HRESULT Write(IMediaSample* sample);
    void EndOfStreamDrain();
    // From the pin when it disconnects: the next connection may call for another size.
    void ReleaseRing();

    // Events from the writer thread go to the graph.
    void Notify(long code, LONG_PTR param1, LONG_PTR param2) override;

private:
    // Opens the file and starts the writer thread for a run; the filter lock is held.
    HRESULT OpenRun();
    HRESULT OpenRunFor(const std::wstring& fileName);
    HRESULT TracedWrite(IMediaSample* sample);
    // Lets the writer thread drain the ring and finish the file; the filter lock is held.
    void EndRun();

    Storage& storage_;
    // The base classes' own lock type: it is also the pin's lock.
    win::CritSec filterLock_;
    win::CritSec receiveLock_;
    std::unique_ptr<dshow::SeekingPassThru> seeking_;
    RecordingName name_;
    std::atomic<LONGLONG> sizeLimit_{kNoSizeLimit};
    // The current run and any earlier one still finishing its file, each with its ring.
    WriterRuns runs_;
    std::unique_ptr<WriterClock> clock_;
    // The clock as the streaming thread sees it; set once, when the clock is first asked for.
    std::atomic<WriterClock*> sampleClock_{nullptr};
    std::unique_ptr<WriterInputPin> pin_;
    const bool trace_ = TraceEnabled();
};

}  // namespace scrivet
