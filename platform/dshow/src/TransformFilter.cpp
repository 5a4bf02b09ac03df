#include "dshowbase/TransformFilter.h"

#include <cstring>

#include <win/ComPtr.h>

namespace dshow {

TransformFilter::TransformFilter(IUnknown* outer, const CLSID& clsid, const wchar_t* input_name,
                                 const wchar_t* output_name)
    : BaseFilter(outer, &filterLock_, clsid)
{
    input_ = std::make_unique<TransformInputPin>(this, &filterLock_, input_name);
    output_ = std::make_unique<TransformOutputPin>(this, &filterLock_, output_name);
}

TransformFilter::~TransformFilter() = default;

BasePin* TransformFilter::GetPin(int index)
{
    if (index == 0)
        return input_.get();
    if (index == 1)
        return output_.get();
    return nullptr;
}

STDMETHODIMP TransformFilter::Stop()
{
    win::AutoLock lock(filterLock_);
    if (state_ == State_Stopped)
        return S_OK;
    // Decommitting first releases a Receive blocked on a buffer; then wait for it to end.
    if (input_->IsConnected())
        input_->Inactive();
    if (output_->IsConnected())
        output_->Inactive();
    win::AutoLock receive(receiveLock_);
    StopStreaming();
    state_ = State_Stopped;
    return S_OK;
}

STDMETHODIMP TransformFilter::Pause()
{
    win::AutoLock lock(filterLock_);
    if (state_ == State_Stopped) {
        const HRESULT hr = StartStreaming();
        if (FAILED(hr))
            return hr;
    }
    return BaseFilter::Pause();
}

HRESULT TransformFilter::Receive(IMediaSample* sample)
{
    win::ComPtr<IMediaSample> out;
    HRESULT hr = output_->GetDeliveryBuffer(out.Put(), nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    CopySampleProperties(sample, out.Get());
    hr = Transform(sample, out.Get());
    if (hr == S_FALSE)
        return S_OK;  // the transform chose to drop this sample
    if (FAILED(hr))
        return hr;
    return output_->Deliver(out.Get());
}

HRESULT TransformFilter::EndOfStream() { return output_->DeliverEndOfStream(); }
HRESULT TransformFilter::BeginFlush() { return output_->DeliverBeginFlush(); }
HRESULT TransformFilter::EndFlush() { return output_->DeliverEndFlush(); }

HRESULT TransformFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    if (!output_->IsConnected())
        return S_OK;
    return output_->DeliverNewSegment(start, stop, rate);
}

HRESULT TransformFilter::SetMediaType(PIN_DIRECTION, const MediaType&) { return S_OK; }
HRESULT TransformFilter::CompleteConnect(PIN_DIRECTION, IPin*) { return S_OK; }
HRESULT TransformFilter::BreakConnect(PIN_DIRECTION) { return S_OK; }

HRESULT TransformFilter::DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator)
{
    return output_->OutputPin::DecideAllocator(peer, allocator);
}

void TransformFilter::CopySampleProperties(IMediaSample* from, IMediaSample* to)
{
    REFERENCE_TIME start = 0, end = 0;
    const HRESULT times = from->GetTime(&start, &end);
    if (times == S_OK)
        to->SetTime(&start, &end);
    else if (times == VFW_S_NO_STOP_TIME)
        to->SetTime(&start, nullptr);
    else
        to->SetTime(nullptr, nullptr);
    LONGLONG mediaStart = 0, mediaEnd = 0;
    if (from->GetMediaTime(&mediaStart, &mediaEnd) == S_OK)
        to->SetMediaTime(&mediaStart, &mediaEnd);
    else
        to->SetMediaTime(nullptr, nullptr);
    to->SetSyncPoint(from->IsSyncPoint() == S_OK);
    to->SetPreroll(from->IsPreroll() == S_OK);
    to->SetDiscontinuity(from->IsDiscontinuity() == S_OK);
    AM_MEDIA_TYPE* type = nullptr;
    if (from->GetMediaType(&type) == S_OK && type) {
        to->SetMediaType(type);
        DeleteMediaType(type);
    }
}

InPlaceTransformFilter::InPlaceTransformFilter(IUnknown* outer, const CLSID& clsid)
    : TransformFilter(outer, clsid)
{
}

HRESULT InPlaceTransformFilter::CheckTransform(const MediaType& input, const MediaType& output)
{
    return input == output ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT InPlaceTransformFilter::GetMediaType(int position, MediaType* output)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *output = input_->CurrentMediaType();
    return S_OK;
}

HRESULT InPlaceTransformFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    ALLOCATOR_PROPERTIES upstream{};
    if (input_->Allocator() && SUCCEEDED(input_->Allocator()->GetProperties(&upstream))) {
        if (request->cBuffers < upstream.cBuffers)
            request->cBuffers = upstream.cBuffers;
        if (request->cbBuffer < upstream.cbBuffer)
            request->cbBuffer = upstream.cbBuffer;
    }
    if (request->cBuffers < 1)
        request->cBuffers = 1;
    if (request->cbBuffer < 1)
        request->cbBuffer = 65536;
    if (request->cbAlign < 1)
        request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < request->cbBuffer ? E_FAIL : S_OK;
}

HRESULT InPlaceTransformFilter::DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator)
{
    // Offer the upstream allocator so samples pass without a copy.
    IMemAllocator* upstream = input_->Allocator();
    if (upstream && !input_->IsReadOnly() && SUCCEEDED(peer->NotifyAllocator(upstream, FALSE))) {
        upstream->AddRef();
        *allocator = upstream;
        return S_OK;
    }
    return TransformFilter::DecideAllocator(peer, allocator);
}

bool InPlaceTransformFilter::SharesAllocator() const
{
    return input_->Allocator() && input_->Allocator() == output_->Allocator();
}

HRESULT InPlaceTransformFilter::Receive(IMediaSample* sample)
{
    if (SharesAllocator() && !input_->IsReadOnly()) {
        const HRESULT hr = Transform(sample);
        if (hr == S_FALSE)
            return S_OK;
        if (FAILED(hr))
            return hr;
        return output_->Deliver(sample);
    }
    return TransformFilter::Receive(sample);
}

HRESULT InPlaceTransformFilter::Transform(IMediaSample* input, IMediaSample* output)
{
    BYTE* from = nullptr;
    BYTE* to = nullptr;
    HRESULT hr = input->GetPointer(&from);
    if (SUCCEEDED(hr))
        hr = output->GetPointer(&to);
    if (FAILED(hr))
        return hr;
    const LONG length = input->GetActualDataLength();
    if (length > output->GetSize())
        return VFW_E_BUFFER_OVERFLOW;
    memcpy(to, from, length);
    output->SetActualDataLength(length);
    CopySampleProperties(input, output);
    return Transform(output);
}

}  // namespace dshow
