#include "TestFilters.h"

#include <uuids.h>

#include <cstring>
#include <new>

namespace testfilters {

const CLSID CLSID_CountingSource = {0x6f1b2c31, 0x8e44, 0x4c2b, {0x9c, 0x5e, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x01}};
const CLSID CLSID_StampingTransform = {0x6f1b2c31, 0x8e44, 0x4c2b, {0x9c, 0x5e, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x02}};
const CLSID CLSID_CollectingRenderer = {0x6f1b2c31, 0x8e44, 0x4c2b, {0x9c, 0x5e, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x03}};
const CLSID CLSID_TestDevice = {0x6f1b2c31, 0x8e44, 0x4c2b, {0x9c, 0x5e, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x04}};
const GUID kSubtypeA = {0x6f1b2c31, 0x8e44, 0x4c2b, {0x9c, 0x5e, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0xa0}};
const GUID kSubtypeB = {0x6f1b2c31, 0x8e44, 0x4c2b, {0x9c, 0x5e, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0xb0}};

namespace {

bool IsOurType(const dshow::MediaType& type)
{
    return type.majortype == MEDIATYPE_Stream && (type.subtype == kSubtypeA || type.subtype == kSubtypeB);
}

template <class T>
dshow::INonDelegatingUnknown* Make(IUnknown* outer, HRESULT* hr)
{
    auto* object = new (std::nothrow) T(outer);
    *hr = object ? S_OK : E_OUTOFMEMORY;
    return object;
}

}  // namespace

CountingStream::CountingStream(dshow::SourceFilter* filter) : SourceStream(filter, L"Output") {}

HRESULT STDMETHODCALLTYPE CountingStream::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (out && iid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(this), out);
    return SourceStream::NonDelegatingQueryInterface(iid, out);
}

HRESULT CountingStream::CheckMediaType(const dshow::MediaType& type)
{
    return IsOurType(type) ? S_OK : S_FALSE;
}

HRESULT CountingStream::GetMediaType(int position, dshow::MediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 1)
        return VFW_S_NO_MORE_ITEMS;
    *type = dshow::MediaType(MEDIATYPE_Stream, position == 0 ? kSubtypeA : kSubtypeB, FORMAT_None);
    return S_OK;
}

HRESULT CountingStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = 4;
    request->cbBuffer = 4096;
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer >= kPayloadBytes ? S_OK : E_FAIL;
}

HRESULT CountingStream::Active()
{
    next = startAt.load();
    return SourceStream::Active();
}

HRESULT CountingStream::FillBuffer(IMediaSample* sample)
{
    if (DWORD pace = paceMs.load())
        Sleep(pace);
    const long sequence = next.load();
    if (sequence >= sampleCount.load())
        return S_FALSE;
    BYTE* data = nullptr;
    HRESULT hr = sample->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    memset(data, 0, kPayloadBytes);
    memcpy(data, &sequence, sizeof(sequence));
    sample->SetActualDataLength(kPayloadBytes);
    REFERENCE_TIME start = sequence * kSampleDuration;
    REFERENCE_TIME stop = start + kSampleDuration;
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    if (discontinuity.exchange(false))
        sample->SetDiscontinuity(TRUE);
    next = sequence + 1;
    return S_OK;
}

STDMETHODIMP CountingStream::GetCapabilities(DWORD* caps)
{
    if (!caps)
        return E_POINTER;
    *caps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
            AM_SEEKING_CanGetDuration | AM_SEEKING_CanGetCurrentPos;
    return S_OK;
}

STDMETHODIMP CountingStream::CheckCapabilities(DWORD* caps)
{
    if (!caps)
        return E_POINTER;
    DWORD ours = 0;
    GetCapabilities(&ours);
    const DWORD asked = *caps;
    *caps &= ours;
    return *caps == asked ? S_OK : (*caps ? S_FALSE : E_FAIL);
}

STDMETHODIMP CountingStream::IsFormatSupported(const GUID* format)
{
    if (!format)
        return E_POINTER;
    return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}

STDMETHODIMP CountingStream::QueryPreferredFormat(GUID* format)
{
    if (!format)
        return E_POINTER;
    *format = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
}

STDMETHODIMP CountingStream::GetTimeFormat(GUID* format) { return QueryPreferredFormat(format); }

STDMETHODIMP CountingStream::IsUsingTimeFormat(const GUID* format) { return IsFormatSupported(format); }

STDMETHODIMP CountingStream::SetTimeFormat(const GUID* format)
{
    return IsFormatSupported(format) == S_OK ? S_OK : E_INVALIDARG;
}

STDMETHODIMP CountingStream::GetDuration(LONGLONG* duration)
{
    if (!duration)
        return E_POINTER;
    *duration = sampleCount.load() * kSampleDuration;
    return S_OK;
}

STDMETHODIMP CountingStream::GetStopPosition(LONGLONG* stop) { return GetDuration(stop); }

STDMETHODIMP CountingStream::GetCurrentPosition(LONGLONG* current)
{
    if (!current)
        return E_POINTER;
    *current = next.load() * kSampleDuration;
    return S_OK;
}

STDMETHODIMP CountingStream::ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) { return E_NOTIMPL; }

STDMETHODIMP CountingStream::SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG*, DWORD)
{
    const DWORD how = current_flags & AM_SEEKING_PositioningBitsMask;
    if (!current || how == AM_SEEKING_NoPositioning)
        return S_OK;
    win::AutoLock lock(*filter_->FilterLock());
    LONGLONG target = *current;
    if (how == AM_SEEKING_RelativePositioning)
        target += next.load() * kSampleDuration;
    const long sequence = static_cast<long>(target / kSampleDuration);
    startAt = sequence;
    if (!filter_->IsActive() || !IsConnected()) {
        next = sequence;
        return S_OK;
    }
    // Flush what is on its way, restart streaming from the new position.
    DeliverBeginFlush();
    StopThread();
    DeliverEndFlush();
    next = sequence;
    discontinuity = true;
    DeliverNewSegment(target, sampleCount.load() * kSampleDuration, 1.0);
    if (current_flags & AM_SEEKING_ReturnTime)
        *current = target;
    return StartThread();
}

STDMETHODIMP CountingStream::GetPositions(LONGLONG* current, LONGLONG* stop)
{
    if (current)
        GetCurrentPosition(current);
    if (stop)
        GetDuration(stop);
    return S_OK;
}

STDMETHODIMP CountingStream::GetAvailable(LONGLONG* earliest, LONGLONG* latest)
{
    if (earliest)
        *earliest = 0;
    return latest ? GetDuration(latest) : S_OK;
}

STDMETHODIMP CountingStream::SetRate(double rate) { return rate == 1.0 ? S_OK : E_INVALIDARG; }

STDMETHODIMP CountingStream::GetRate(double* rate)
{
    if (!rate)
        return E_POINTER;
    *rate = 1.0;
    return S_OK;
}

STDMETHODIMP CountingStream::GetPreroll(LONGLONG* preroll)
{
    if (!preroll)
        return E_POINTER;
    *preroll = 0;
    return S_OK;
}

CountingSource::CountingSource(IUnknown* outer, const CLSID& clsid) : SourceFilter(outer, clsid)
{
    auto stream = std::make_unique<CountingStream>(this);
    stream_ = stream.get();
    AddStream(std::move(stream));
}

dshow::INonDelegatingUnknown* CountingSource::Create(IUnknown* outer, HRESULT* hr)
{
    return Make<CountingSource>(outer, hr);
}

StampingTransform::StampingTransform(IUnknown* outer) : InPlaceTransformFilter(outer, CLSID_StampingTransform) {}

dshow::INonDelegatingUnknown* StampingTransform::Create(IUnknown* outer, HRESULT* hr)
{
    return Make<StampingTransform>(outer, hr);
}

HRESULT StampingTransform::CheckInputType(const dshow::MediaType& input)
{
    return IsOurType(input) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT StampingTransform::Transform(IMediaSample* sample)
{
    BYTE* data = nullptr;
    const HRESULT hr = sample->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    if (sample->GetActualDataLength() > 4)
        ++data[4];
    ++stamped;
    return S_OK;
}

CollectingPin::CollectingPin(CollectingRenderer* filter, win::CritSec* lock)
    : RenderedInputPin(filter, lock, L"In"), renderer_(filter)
{
}

HRESULT CollectingPin::CheckMediaType(const dshow::MediaType& type)
{
    if (!IsOurType(type))
        return S_FALSE;
    const bool accepted = type.subtype == kSubtypeA ? renderer_->acceptA.load() : renderer_->acceptB.load();
    return accepted ? S_OK : S_FALSE;
}

STDMETHODIMP CollectingPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = RenderedInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    Received record{};
    if (sample->GetActualDataLength() >= 5) {
        memcpy(&record.sequence, data, sizeof(record.sequence));
        record.stamp = data[4];
    }
    sample->GetTime(&record.start, &record.stop);
    record.discontinuity = sample->IsDiscontinuity() == S_OK;
    win::AutoLock lock(renderer_->dataLock_);
    renderer_->samples_.push_back(record);
    return S_OK;
}

STDMETHODIMP CollectingPin::BeginFlush()
{
    ++renderer_->beginFlushes;
    return RenderedInputPin::BeginFlush();
}

STDMETHODIMP CollectingPin::EndFlush()
{
    ++renderer_->endFlushes;
    return RenderedInputPin::EndFlush();
}

STDMETHODIMP CollectingPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    ++renderer_->segments;
    return RenderedInputPin::NewSegment(start, stop, rate);
}

STDMETHODIMP CollectingPin::EndOfStream()
{
    ++renderer_->endOfStreams;
    return RenderedInputPin::EndOfStream();
}

CollectingRenderer::CollectingRenderer(IUnknown* outer)
    : BaseFilter(outer, &filterLock_, CLSID_CollectingRenderer), pin_(new CollectingPin(this, &filterLock_))
{
}

CollectingRenderer::~CollectingRenderer()
{
    delete seeking_;
    delete pin_;
}

dshow::INonDelegatingUnknown* CollectingRenderer::Create(IUnknown* outer, HRESULT* hr)
{
    return Make<CollectingRenderer>(outer, hr);
}

HRESULT STDMETHODCALLTYPE CollectingRenderer::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (out && (iid == IID_IMediaSeeking || iid == IID_IMediaPosition)) {
        win::AutoLock lock(filterLock_);
        if (!seeking_) {
            seeking_ = new (std::nothrow) dshow::SeekingPassThru(Owner(), pin_);
            if (!seeking_) {
                *out = nullptr;
                return E_OUTOFMEMORY;
            }
        }
        return seeking_->NonDelegatingQueryInterface(iid, out);
    }
    return BaseFilter::NonDelegatingQueryInterface(iid, out);
}

dshow::BasePin* CollectingRenderer::GetPin(int index) { return index == 0 ? pin_ : nullptr; }

std::vector<Received> CollectingRenderer::Samples()
{
    win::AutoLock lock(dataLock_);
    return samples_;
}

void CollectingRenderer::Clear()
{
    win::AutoLock lock(dataLock_);
    samples_.clear();
    beginFlushes = endFlushes = segments = endOfStreams = 0;
}

}  // namespace testfilters
