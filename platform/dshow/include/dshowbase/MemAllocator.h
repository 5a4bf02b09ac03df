#pragma once
// Media samples and the memory allocator that hands them out. A sample whose last reference
// goes returns to its allocator's free list; GetBuffer waits for one when none is free.
#include <windows.h>
#include <strmif.h>

#include <vector>

#include <win/Handle.h>
#include <win/Lock.h>
#include "dshowbase/Unknown.h"

namespace dshow {

class MemAllocator;

class MediaSample final : public IMediaSample {
public:
    MediaSample(MemAllocator* allocator, BYTE* buffer, LONG size);
    ~MediaSample();

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetPointer(BYTE** buffer) override;
    STDMETHODIMP_(LONG) GetSize() override;
    STDMETHODIMP GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    STDMETHODIMP SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    STDMETHODIMP IsSyncPoint() override;
    STDMETHODIMP SetSyncPoint(BOOL sync) override;
    STDMETHODIMP IsPreroll() override;
    STDMETHODIMP SetPreroll(BOOL preroll) override;
    STDMETHODIMP_(LONG) GetActualDataLength() override;
    STDMETHODIMP SetActualDataLength(LONG length) override;
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP IsDiscontinuity() override;
    STDMETHODIMP SetDiscontinuity(BOOL discontinuity) override;
    STDMETHODIMP GetMediaTime(LONGLONG* start, LONGLONG* end) override;
    STDMETHODIMP SetMediaTime(LONGLONG* start, LONGLONG* end) override;

    // Clears times, flags and type before the sample is handed out again.
    void ResetProperties();

private:
    friend class MemAllocator;
    MemAllocator* allocator_;
    BYTE* buffer_;
    LONG size_;
    LONG actual_ = 0;
    volatile LONG refs_ = 0;
    REFERENCE_TIME start_ = 0, end_ = 0;
    LONGLONG mediaStart_ = 0, mediaEnd_ = 0;
    bool timeValid_ = false, stopValid_ = false, mediaTimeValid_ = false;
    bool sync_ = false, preroll_ = false, discontinuity_ = false;
    AM_MEDIA_TYPE* type_ = nullptr;
};

class MemAllocator final : public UnknownBase, public IMemAllocator {
public:
    MemAllocator();
    ~MemAllocator() override;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
    STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* props) override;
    STDMETHODIMP Commit() override;
    STDMETHODIMP Decommit() override;
    STDMETHODIMP GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end,
                           DWORD flags) override;
    STDMETHODIMP ReleaseBuffer(IMediaSample* sample) override;

    // Samples handed out and not yet returned.
    LONG Outstanding();

private:
    void FreeMemoryLocked();

    win::CritSec lock_;
    ALLOCATOR_PROPERTIES props_{};
    bool committed_ = false;
    BYTE* memory_ = nullptr;
    std::vector<MediaSample*> all_;
    std::vector<MediaSample*> free_;
    LONG waiting_ = 0;
    win::Handle freeSignal_;  // semaphore released once per waiter when a sample returns
};

}  // namespace dshow
