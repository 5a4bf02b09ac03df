#include "dshowbase/Pins.h"

#include <new>

#include <win/ComPtr.h>
#include "dshowbase/MemAllocator.h"

namespace dshow {

OutputPin::OutputPin(BaseFilter* filter, win::CritSec* lock, const wchar_t* name)
    : BasePin(filter, lock, name, PINDIR_OUTPUT)
{
}

OutputPin::~OutputPin() { BreakConnect(); }

HRESULT OutputPin::CheckConnect(IPin* pin)
{
    HRESULT hr = BasePin::CheckConnect(pin);
    if (FAILED(hr))
        return hr;
    IMemInputPin* input = nullptr;
    hr = pin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
    if (FAILED(hr))
        return VFW_E_NO_TRANSPORT;
    if (peerInput_)
        peerInput_->Release();
    peerInput_ = input;
    return S_OK;
}

HRESULT OutputPin::CompleteConnect(IPin*)
{
    if (!peerInput_)
        return VFW_E_NO_TRANSPORT;
    return DecideAllocator(peerInput_, &allocator_);
}

HRESULT OutputPin::BreakConnect()
{
    if (allocator_) {
        allocator_->Decommit();
        allocator_->Release();
        allocator_ = nullptr;
    }
    if (peerInput_) {
        peerInput_->Release();
        peerInput_ = nullptr;
    }
    return S_OK;
}

HRESULT OutputPin::DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator)
{
    ALLOCATOR_PROPERTIES wanted{};
    peer->GetAllocatorRequirements(&wanted);
    if (wanted.cbAlign == 0)
        wanted.cbAlign = 1;

    win::ComPtr<IMemAllocator> candidate;
    if (SUCCEEDED(peer->GetAllocator(candidate.Put())) && candidate) {
        ALLOCATOR_PROPERTIES request = wanted;
        if (SUCCEEDED(DecideBufferSize(candidate.Get(), &request)) &&
            SUCCEEDED(peer->NotifyAllocator(candidate.Get(), FALSE))) {
            *allocator = candidate.Detach();
            return S_OK;
        }
    }
    HRESULT hr = InitAllocator(candidate.Put());
    if (FAILED(hr))
        return hr;
    ALLOCATOR_PROPERTIES request = wanted;
    hr = DecideBufferSize(candidate.Get(), &request);
    if (SUCCEEDED(hr))
        hr = peer->NotifyAllocator(candidate.Get(), FALSE);
    if (FAILED(hr))
        return hr;
    *allocator = candidate.Detach();
    return S_OK;
}

HRESULT OutputPin::InitAllocator(IMemAllocator** allocator)
{
    auto* created = new (std::nothrow) MemAllocator;
    if (!created)
        return E_OUTOFMEMORY;
    return created->QueryInterface(IID_IMemAllocator, reinterpret_cast<void**>(allocator));
}

HRESULT OutputPin::Active()
{
    if (!allocator_)
        return VFW_E_NO_ALLOCATOR;
    return allocator_->Commit();
}

HRESULT OutputPin::Inactive()
{
    if (!allocator_)
        return VFW_E_NO_ALLOCATOR;
    return allocator_->Decommit();
}

HRESULT OutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start,
                                     REFERENCE_TIME* end, DWORD flags)
{
    if (!allocator_)
        return VFW_E_NO_ALLOCATOR;
    return allocator_->GetBuffer(sample, start, end, flags);
}

HRESULT OutputPin::Deliver(IMediaSample* sample)
{
    if (!peerInput_)
        return VFW_E_NOT_CONNECTED;
    return peerInput_->Receive(sample);
}

HRESULT OutputPin::DeliverEndOfStream()
{
    IPin* peer = connected_;
    return peer ? peer->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverBeginFlush()
{
    IPin* peer = connected_;
    return peer ? peer->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverEndFlush()
{
    IPin* peer = connected_;
    return peer ? peer->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    IPin* peer = connected_;
    return peer ? peer->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

}  // namespace dshow
