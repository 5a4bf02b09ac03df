#pragma once
// The infinite pin tee: one input and always one free output; every sample goes to every
// connected output (each output has its own buffers, so a slow branch never corrupts another).
#include <dshowbase/BaseFilter.h>
#include <dshowbase/Pins.h>

#include <memory>
#include <vector>

namespace testbed {

class InfiniteTee;

class TeeInputPin : public dshow::InputPin {
public:
    TeeInputPin(InfiniteTee* tee, win::CritSec* lock);
    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

private:
    InfiniteTee* tee_;
};

class TeeOutputPin : public dshow::OutputPin {
public:
    TeeOutputPin(InfiniteTee* tee, win::CritSec* lock, const wchar_t* name);
    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    HRESULT GetMediaType(int position, dshow::MediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT CompleteConnect(IPin* receive_pin) override;
    HRESULT BreakConnect() override;

private:
    InfiniteTee* tee_;
};

class InfiniteTee : public dshow::BaseFilter {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);

    int GetPinCount() override;
    dshow::BasePin* GetPin(int index) override;
    STDMETHODIMP Stop() override;

    TeeInputPin* Input() const { return input_.get(); }
    HRESULT Deliver(IMediaSample* sample);
    template <class F> void ForEachConnected(F f);
    void OnOutputConnected();
    void OnOutputDisconnected(TeeOutputPin* pin);
    win::CritSec* ReceiveLock() { return &receiveLock_; }

private:
    explicit InfiniteTee(IUnknown* outer);
    void AddFreeOutput();

    win::CritSec filterLock_;
    win::CritSec receiveLock_;
    std::unique_ptr<TeeInputPin> input_;
    std::vector<std::unique_ptr<TeeOutputPin>> outputs_;
    std::vector<std::unique_ptr<TeeOutputPin>> retired_;  // callers may still hold them
    int nextNumber_ = 1;
};

template <class F>
void InfiniteTee::ForEachConnected(F f)
{
    for (const auto& pin : outputs_)
        if (pin->IsConnected()) f(*pin);
}

}  // namespace testbed
