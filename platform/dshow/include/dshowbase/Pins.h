#pragma once
// Input and output pins: the sample transport (IMemInputPin, allocator negotiation, delivery
// downstream), flushing and end of stream, and the renderer's input pin.
#include <windows.h>
#include <strmif.h>

#include "dshowbase/BasePin.h"

namespace dshow {

class InputPin : public BasePin, public IMemInputPin {
public:
    InputPin(BaseFilter* filter, win::CritSec* lock, const wchar_t* name);
    ~InputPin() override;

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL read_only) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    // The base checks the streaming state; derived pins call it first, then consume.
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override;

    // IPin
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    HRESULT BreakConnect() override;
    HRESULT Inactive() override;

    // S_OK when samples may be received now; S_FALSE while flushing or after a runtime
    // error; VFW_E_WRONG_STATE when stopped; VFW_E_NOT_CONNECTED.
    HRESULT CheckStreaming();
    bool IsFlushing() const { return flushing_; }
    bool IsReadOnly() const { return readOnly_; }
    IMemAllocator* Allocator() const { return allocator_; }

    // A streaming error: posts EC_ERRORABORT once, and Receive refuses until the next stop.
    void RaiseRuntimeError(HRESULT error);

protected:
    IMemAllocator* allocator_ = nullptr;  // counted
    volatile bool flushing_ = false;
    volatile bool runtimeError_ = false;
    bool readOnly_ = false;
};

// The input pin of a renderer: end of stream becomes EC_COMPLETE for the graph, sent at once
// when running, or on Run when it arrived while paused.
class RenderedInputPin : public InputPin {
public:
    RenderedInputPin(BaseFilter* filter, win::CritSec* lock, const wchar_t* name);

    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP EndFlush() override;
    HRESULT Active() override;
    HRESULT Run(REFERENCE_TIME start) override;

    bool AtEndOfStream() const { return atEndOfStream_; }

private:
    void DeliverCompletion();

    bool atEndOfStream_ = false;
    bool completionSent_ = false;
};

class OutputPin : public BasePin {
public:
    OutputPin(BaseFilter* filter, win::CritSec* lock, const wchar_t* name);
    ~OutputPin() override;

    // Calls that only make sense on input pins.
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CompleteConnect(IPin* receive_pin) override;
    HRESULT BreakConnect() override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    // Allocator negotiation: the peer's allocator first, else our own; either way the buffer
    // sizes come from DecideBufferSize and the peer is told through NotifyAllocator.
    virtual HRESULT DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator);
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT InitAllocator(IMemAllocator** allocator);

    // Streaming side, called from the filter's streaming thread.
    HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end,
                              DWORD flags);
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();
    HRESULT DeliverBeginFlush();
    HRESULT DeliverEndFlush();
    HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    IMemAllocator* Allocator() const { return allocator_; }
    IMemInputPin* PeerInput() const { return peerInput_; }

protected:
    IMemAllocator* allocator_ = nullptr;  // counted
    IMemInputPin* peerInput_ = nullptr;   // counted
};

}  // namespace dshow
