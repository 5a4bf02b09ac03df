#include "InfiniteTee.h"

#include <cstring>
#include <new>
#include <string>

#include <win/ComPtr.h>

#include "FilterIds.h"

namespace testbed {

dshow::INonDelegatingUnknown* InfiniteTee::Create(IUnknown* outer, HRESULT* hr)
{
    auto* tee = new (std::nothrow) InfiniteTee(outer);
    if (!tee) *hr = E_OUTOFMEMORY;
    return tee;
}

InfiniteTee::InfiniteTee(IUnknown* outer) : dshow::BaseFilter(outer, &filterLock_, kClsidInfiniteTee)
{
    input_ = std::make_unique<TeeInputPin>(this, &filterLock_);
    AddFreeOutput();
}

void InfiniteTee::AddFreeOutput()
{
    const std::wstring name = L"Output" + std::to_wstring(nextNumber_++);
    outputs_.push_back(std::make_unique<TeeOutputPin>(this, &filterLock_, name.c_str()));
    IncrementPinVersion();
}

int InfiniteTee::GetPinCount() { return 1 + int(outputs_.size()); }

dshow::BasePin* InfiniteTee::GetPin(int index)
{
    if (index == 0) return input_.get();
    return index > 0 && size_t(index) <= outputs_.size() ? outputs_[size_t(index - 1)].get() : nullptr;
}

STDMETHODIMP InfiniteTee::Stop()
{
    const HRESULT hr = dshow::BaseFilter::Stop();
    win::AutoLock receive(receiveLock_);  // the last delivery has returned
    return hr;
}

void InfiniteTee::OnOutputConnected()
{
    if (outputs_.back()->IsConnected()) AddFreeOutput();  // called under the filter lock
}

void InfiniteTee::OnOutputDisconnected(TeeOutputPin* pin)
{
    // One free output is enough: a freed pin that is not the last one goes away.
    if (outputs_.back().get() == pin) return;
    for (auto it = outputs_.begin(); it != outputs_.end(); ++it) {
        if (it->get() != pin) continue;
        retired_.push_back(std::move(*it));
        outputs_.erase(it);
        IncrementPinVersion();
        return;
    }
}

HRESULT InfiniteTee::Deliver(IMediaSample* sample)
{
    win::AutoLock receive(receiveLock_);
    BYTE* from = nullptr;
    if (FAILED(sample->GetPointer(&from))) return E_POINTER;
    const long length = sample->GetActualDataLength();
    ForEachConnected([&](TeeOutputPin& pin) {
        win::ComPtr<IMediaSample> copy;
        if (FAILED(pin.GetDeliveryBuffer(copy.Put(), nullptr, nullptr, 0))) return;
        BYTE* to = nullptr;
        copy->GetPointer(&to);
        if (length > copy->GetSize()) return;
        std::memcpy(to, from, size_t(length));
        copy->SetActualDataLength(length);
        REFERENCE_TIME start = 0, stop = 0;
        const HRESULT timed = sample->GetTime(&start, &stop);
        if (SUCCEEDED(timed)) copy->SetTime(&start, timed == VFW_S_NO_STOP_TIME ? nullptr : &stop);
        copy->SetSyncPoint(sample->IsSyncPoint() == S_OK);
        copy->SetDiscontinuity(sample->IsDiscontinuity() == S_OK);
        copy->SetPreroll(sample->IsPreroll() == S_OK);
        pin.Deliver(copy.Get());  // one failing branch does not stop the others
    });
    return S_OK;
}

TeeInputPin::TeeInputPin(InfiniteTee* tee, win::CritSec* lock) : dshow::InputPin(tee, lock, L"Input"), tee_(tee) {}

HRESULT TeeInputPin::CheckMediaType(const dshow::MediaType& type)
{
    // Once outputs are connected the input must keep their type.
    bool mismatch = false;
    tee_->ForEachConnected([&](TeeOutputPin& pin) { mismatch |= !(pin.CurrentMediaType() == type); });
    return mismatch ? VFW_E_TYPE_NOT_ACCEPTED : S_OK;
}

STDMETHODIMP TeeInputPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = dshow::InputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return tee_->Deliver(sample);
}

STDMETHODIMP TeeInputPin::EndOfStream()
{
    win::AutoLock receive(*tee_->ReceiveLock());
    tee_->ForEachConnected([](TeeOutputPin& pin) { pin.DeliverEndOfStream(); });
    return S_OK;
}

STDMETHODIMP TeeInputPin::BeginFlush()
{
    dshow::InputPin::BeginFlush();
    tee_->ForEachConnected([](TeeOutputPin& pin) { pin.DeliverBeginFlush(); });
    return S_OK;
}

STDMETHODIMP TeeInputPin::EndFlush()
{
    tee_->ForEachConnected([](TeeOutputPin& pin) { pin.DeliverEndFlush(); });
    return dshow::InputPin::EndFlush();
}

STDMETHODIMP TeeInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    dshow::InputPin::NewSegment(start, stop, rate);
    tee_->ForEachConnected([&](TeeOutputPin& pin) { pin.DeliverNewSegment(start, stop, rate); });
    return S_OK;
}

TeeOutputPin::TeeOutputPin(InfiniteTee* tee, win::CritSec* lock, const wchar_t* name)
    : dshow::OutputPin(tee, lock, name), tee_(tee)
{
}

HRESULT TeeOutputPin::CheckMediaType(const dshow::MediaType& type)
{
    if (!tee_->Input()->IsConnected()) return VFW_E_NOT_CONNECTED;
    return tee_->Input()->CurrentMediaType() == type ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT TeeOutputPin::GetMediaType(int position, dshow::MediaType* type)
{
    if (!tee_->Input()->IsConnected()) return E_UNEXPECTED;
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *type = tee_->Input()->CurrentMediaType();
    return S_OK;
}

HRESULT TeeOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    ALLOCATOR_PROPERTIES upstream = {};
    if (tee_->Input()->Allocator()) tee_->Input()->Allocator()->GetProperties(&upstream);
    request->cBuffers = std::max<long>(request->cBuffers, std::max<long>(upstream.cBuffers, 8));
    request->cbBuffer = std::max<long>(request->cbBuffer, std::max<long>(upstream.cbBuffer, 65536));
    request->cbAlign = std::max<long>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual = {};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) return hr;
    return actual.cbBuffer >= request->cbBuffer ? S_OK : E_FAIL;
}

HRESULT TeeOutputPin::CompleteConnect(IPin* receive_pin)
{
    const HRESULT hr = dshow::OutputPin::CompleteConnect(receive_pin);
    if (SUCCEEDED(hr)) tee_->OnOutputConnected();
    return hr;
}

HRESULT TeeOutputPin::BreakConnect()
{
    const HRESULT hr = dshow::OutputPin::BreakConnect();
    tee_->OnOutputDisconnected(this);
    return hr;
}

}  // namespace testbed
