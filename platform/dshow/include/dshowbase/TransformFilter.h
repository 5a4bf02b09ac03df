#pragma once
// A one-input, one-output filter that turns each input sample into an output sample, and
// its in-place variant that passes samples through (sharing the upstream allocator when the
// downstream pin accepts it, copying otherwise).
#include <windows.h>
#include <strmif.h>

#include <memory>

#include "dshowbase/BaseFilter.h"
#include "dshowbase/Pins.h"

namespace dshow {

class TransformFilter;
class SeekingPassThru;

class TransformInputPin : public InputPin {
public:
    TransformInputPin(TransformFilter* filter, win::CritSec* lock, const wchar_t* name);

    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveCanBlock() override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    HRESULT CheckMediaType(const MediaType& type) override;
    HRESULT SetMediaType(const MediaType& type) override;
    HRESULT CompleteConnect(IPin* receive_pin) override;
    HRESULT BreakConnect() override;

private:
    TransformFilter* transform_;
};

class TransformOutputPin : public OutputPin {
public:
    TransformOutputPin(TransformFilter* filter, win::CritSec* lock, const wchar_t* name);
    ~TransformOutputPin() override;

    // Also answers IMediaSeeking and IMediaPosition, passed to the upstream pin.
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT CheckMediaType(const MediaType& type) override;
    HRESULT GetMediaType(int position, MediaType* type) override;
    HRESULT SetMediaType(const MediaType& type) override;
    HRESULT CompleteConnect(IPin* receive_pin) override;
    HRESULT BreakConnect() override;
    HRESULT DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

protected:
    // Quality messages from downstream go on to the upstream output pin.
    HRESULT PassNotify(Quality quality) override;

private:
    TransformFilter* transform_;
    SeekingPassThru* seeking_ = nullptr;  // created on first request
    // Guards seeking_ only: a renderer asks for seeking from inside EndOfStream, on the
    // streaming thread, while Stop may hold the filter lock waiting for that thread.
    win::CritSec seekingLock_;
};

class TransformFilter : public BaseFilter {
public:
    TransformFilter(IUnknown* outer, const CLSID& clsid, const wchar_t* input_name = L"Input",
                    const wchar_t* output_name = L"Output");
    ~TransformFilter() override;

    int GetPinCount() override { return 2; }
    BasePin* GetPin(int index) override;

    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    // What a concrete transform decides.
    virtual HRESULT CheckInputType(const MediaType& input) = 0;
    virtual HRESULT CheckTransform(const MediaType& input, const MediaType& output) = 0;
    virtual HRESULT GetMediaType(int position, MediaType* output) = 0;
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT Transform(IMediaSample* input, IMediaSample* output) = 0;

    // Streaming, called by the input pin under the receive lock (Receive, EndOfStream) or
    // the filter lock (flush). The defaults pass everything downstream.
    virtual HRESULT Receive(IMediaSample* sample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
    virtual HRESULT StartStreaming() { return S_OK; }
    virtual HRESULT StopStreaming() { return S_OK; }

    // Connection hooks, per pin direction.
    virtual HRESULT SetMediaType(PIN_DIRECTION direction, const MediaType& type);
    virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receive_pin);
    virtual HRESULT BreakConnect(PIN_DIRECTION direction);
    virtual HRESULT DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator);

    TransformInputPin* Input() const { return input_.get(); }
    TransformOutputPin* Output() const { return output_.get(); }
    win::CritSec* ReceiveLock() { return &receiveLock_; }

    // Copies times, media times and flags from one sample to another.
    static void CopySampleProperties(IMediaSample* from, IMediaSample* to);

protected:
    win::CritSec filterLock_;
    win::CritSec receiveLock_;  // held for each Receive and end of stream; Stop waits on it
    std::unique_ptr<TransformInputPin> input_;
    std::unique_ptr<TransformOutputPin> output_;
};

class InPlaceTransformFilter : public TransformFilter {
public:
    InPlaceTransformFilter(IUnknown* outer, const CLSID& clsid);

    // Works on the sample that goes downstream; may change its data unless the upstream
    // allocator is read-only, in which case it gets a private copy.
    virtual HRESULT Transform(IMediaSample* sample) = 0;
    // The copy path: the input's data and properties into the output sample, then the
    // in-place work on the copy.
    HRESULT Transform(IMediaSample* input, IMediaSample* output) final;

    // The output offers exactly the input's type.
    HRESULT CheckTransform(const MediaType& input, const MediaType& output) override;
    HRESULT GetMediaType(int position, MediaType* output) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator) override;
    HRESULT Receive(IMediaSample* sample) override;

    // Whether samples pass without a copy (upstream and downstream share one allocator).
    bool SharesAllocator() const;
};

}  // namespace dshow
