#pragma once
// A source filter whose output pins each run a streaming thread: from Pause on, the thread
// asks FillBuffer for samples and delivers them downstream until the filter stops or
// FillBuffer reports the end of the stream.
#include <windows.h>
#include <strmif.h>

#include <win/Handle.h>

#include <memory>
#include <vector>

#include "dshowbase/BaseFilter.h"
#include "dshowbase/Pins.h"

namespace dshow {

class SourceFilter;

class SourceStream : public OutputPin {
public:
    SourceStream(SourceFilter* filter, const wchar_t* name);
    ~SourceStream() override;

    // Fills one sample (data, length, times). S_OK delivers it; S_FALSE ends the stream with
    // end of stream downstream; a failure posts EC_ERRORABORT and ends the stream. Runs on
    // the streaming thread: it must not take the filter lock.
    virtual HRESULT FillBuffer(IMediaSample* sample) = 0;
    virtual HRESULT OnThreadStart() { return S_OK; }
    virtual HRESULT OnThreadStop() { return S_OK; }
    // A live source delivers only while running; a file-like source also while paused.
    virtual bool DeliversWhilePaused() const { return true; }

    HRESULT Active() override;
    HRESULT Inactive() override;
    HRESULT Run(REFERENCE_TIME start) override;

protected:
    // For a seeking source: stop and later restart the thread around a flush.
    HRESULT StartThread();
    void StopThread();
    bool StopRequested() const { return stop_; }

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Stream();

    win::Handle thread_;
    win::Handle runSignal_;  // manual reset: set while running, or to wake the thread for a stop
    volatile bool stop_ = false;
};

class SourceFilter : public BaseFilter {
public:
    SourceFilter(IUnknown* outer, const CLSID& clsid);
    ~SourceFilter() override;

    int GetPinCount() override;
    BasePin* GetPin(int index) override;

    // Takes ownership of a stream made with this filter.
    void AddStream(std::unique_ptr<SourceStream> stream);
    win::CritSec* StateLock() { return &filterLock_; }

protected:
    win::CritSec filterLock_;
    std::vector<std::unique_ptr<SourceStream>> streams_;
};

}  // namespace dshow
