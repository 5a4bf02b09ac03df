#include "DemuxFilter.h"

#include <uuids.h>

#include <new>

#include "FilterIds.h"

namespace testbed {
namespace {

constexpr int64_t kPtsWrap = int64_t(1) << 33;

}  // namespace

dshow::INonDelegatingUnknown* DemuxFilter::Create(IUnknown* outer, HRESULT* hr, bool vendor)
{
    auto* filter = new (std::nothrow) DemuxFilter(outer, vendor);
    if (!filter) *hr = E_OUTOFMEMORY;
    return filter;
}

DemuxFilter::DemuxFilter(IUnknown* outer, bool vendor)
    : dshow::BaseFilter(outer, &filterLock_, vendor ? kClsidVendorDemultiplexer : kClsidMpeg2Demultiplexer),
      parser_([this](const mpegps::PesPacket& pes) { OnPacket(pes); })
{
    input_ = std::make_unique<DemuxInputPin>(this, &filterLock_);
    if (vendor) {
        streamOutput_ = std::make_unique<DemuxOutputPin>(
            this, &filterLock_, L"Stream", dshow::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System));
    }
    ownClock_ = std::make_unique<dshow::ReferenceClock>(Owner());
}

DemuxFilter::~DemuxFilter() = default;

HRESULT DemuxFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == IID_IMpeg2Demultiplexer) return GetInterface(static_cast<IMpeg2Demultiplexer*>(this), out);
    if (iid == IID_IReferenceClock) return GetInterface(static_cast<IReferenceClock*>(ownClock_.get()), out);
    return dshow::BaseFilter::NonDelegatingQueryInterface(iid, out);
}

int DemuxFilter::GetPinCount()
{
    return 1 + (streamOutput_ ? 1 : 0) + int(outputs_.size());
}

dshow::BasePin* DemuxFilter::GetPin(int index)
{
    if (index == 0) return input_.get();
    --index;
    if (streamOutput_) {
        if (index == 0) return streamOutput_.get();
        --index;
    }
    return index >= 0 && size_t(index) < outputs_.size() ? outputs_[size_t(index)].get() : nullptr;
}

template <class F>
void DemuxFilter::ForEachOutput(F f) const
{
    for (const auto& pin : outputs_)
        if (pin->IsConnected()) f(*pin);
}

STDMETHODIMP DemuxFilter::Stop()
{
    const HRESULT hr = dshow::BaseFilter::Stop();  // decommits, so a blocked delivery returns
    win::AutoLock receive(receiveLock_);
    parser_.Reset();
    return hr;
}

STDMETHODIMP DemuxFilter::Pause()
{
    win::AutoLock lock(filterLock_);
    if (IsStopped()) {
        win::AutoLock receive(receiveLock_);
        parser_.Reset();
        basePts_ = -1;
    }
    if (State() == State_Running) {
        // The graph pauses before it stops, and it stops the filters downstream of us first:
        // from now on no delivery may start, or it could reach a filter in its Stop.
        for (const auto& pin : outputs_) pin->HoldDeliveries();
        if (streamOutput_) streamOutput_->HoldDeliveries();
    }
    return dshow::BaseFilter::Pause();
}

DemuxOutputPin* DemuxFilter::FindOutput(const wchar_t* name) const
{
    for (const auto& pin : outputs_)
        if (pin->Name() == name) return pin.get();
    return nullptr;
}

STDMETHODIMP DemuxFilter::CreateOutputPin(AM_MEDIA_TYPE* type, LPWSTR name, IPin** pin)
{
    if (!type || !name || !pin) return E_POINTER;
    *pin = nullptr;
    win::AutoLock lock(filterLock_);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    if (FindOutput(name) || *name == L'\0') return E_INVALIDARG;
    auto created = std::make_unique<DemuxOutputPin>(this, &filterLock_, name, dshow::MediaType(*type));
    created->QueryInterface(IID_IPin, reinterpret_cast<void**>(pin));
    outputs_.push_back(std::move(created));
    IncrementPinVersion();
    return S_OK;
}

DemuxOutputPin* DemuxFilter::AddOwnOutput(std::unique_ptr<DemuxOutputPin> pin)
{
    win::AutoLock lock(filterLock_);
    outputs_.push_back(std::move(pin));
    IncrementPinVersion();
    return outputs_.back().get();
}

STDMETHODIMP DemuxFilter::SetOutputPinMediaType(LPWSTR name, AM_MEDIA_TYPE* type)
{
    if (!type || !name) return E_POINTER;
    win::AutoLock lock(filterLock_);
    DemuxOutputPin* pin = FindOutput(name);
    if (!pin) return VFW_E_NOT_FOUND;
    if (pin->IsConnected()) return VFW_E_ALREADY_CONNECTED;
    pin->SetPinType(dshow::MediaType(*type));
    return S_OK;
}

STDMETHODIMP DemuxFilter::DeleteOutputPin(LPWSTR name)
{
    if (!name) return E_POINTER;
    win::AutoLock lock(filterLock_);
    for (auto it = outputs_.begin(); it != outputs_.end(); ++it) {
        if ((*it)->Name() != name) continue;
        if ((*it)->IsConnected()) return VFW_E_ALREADY_CONNECTED;
        retired_.push_back(std::move(*it));
        outputs_.erase(it);
        IncrementPinVersion();
        return S_OK;
    }
    return VFW_E_NOT_FOUND;
}

HRESULT DemuxFilter::ReceiveData(IMediaSample* sample)
{
    win::AutoLock receive(receiveLock_);
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    const long size = sample->GetActualDataLength();
    const bool discontinuity = sample->IsDiscontinuity() == S_OK;
    if (streamOutput_ && streamOutput_->IsConnected()) streamOutput_->SendBytes(data, size_t(size), discontinuity);
    if (discontinuity) parser_.Reset();
    parser_.Push(data, size_t(size));
    return S_OK;
}

void DemuxFilter::OnPacket(const mpegps::PesPacket& pes)
{
    REFERENCE_TIME time = -1;
    if (pes.hasPts) {
        if (basePts_ < 0) {
            // Stream time 0 is the first clock reference, so the mux delay becomes the
            // renderers' lead time instead of late pictures.
            const int64_t scr = parser_.Stats().lastScr;
            basePts_ = scr >= 0 && scr <= pes.pts && pes.pts - scr < 90000 * 5 ? scr : pes.pts;
        }
        int64_t delta = (pes.pts - basePts_) % kPtsWrap;
        if (delta < 0) delta += kPtsWrap;
        if (delta >= kPtsWrap / 2) delta -= kPtsWrap;  // slightly before the base
        time = delta * 1000 / 9;
    }
    ForEachOutput([&](DemuxOutputPin& pin) { pin.Offer(pes, time); });
}

HRESULT DemuxFilter::EndOfStream()
{
    win::AutoLock receive(receiveLock_);
    parser_.Flush();
    ForEachOutput([](DemuxOutputPin& pin) { pin.QueueEndOfStream(); });
    if (streamOutput_ && streamOutput_->IsConnected()) streamOutput_->QueueEndOfStream();
    return S_OK;
}

HRESULT DemuxFilter::BeginFlush()
{
    ForEachOutput([](DemuxOutputPin& pin) { pin.BeginQueueFlush(); });
    if (streamOutput_ && streamOutput_->IsConnected()) streamOutput_->BeginQueueFlush();
    return S_OK;
}

HRESULT DemuxFilter::EndFlush()
{
    {
        win::AutoLock receive(receiveLock_);
        parser_.Reset();
    }
    ForEachOutput([](DemuxOutputPin& pin) { pin.EndQueueFlush(); });
    if (streamOutput_ && streamOutput_->IsConnected()) streamOutput_->EndQueueFlush();
    return S_OK;
}

}  // namespace testbed
