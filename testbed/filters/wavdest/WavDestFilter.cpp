#include "WavDestFilter.h"

#include <mmreg.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cstring>

#include <win/ComPtr.h>

#include "FilterIds.h"
#include "WavHeader.h"

namespace testbed {

dshow::INonDelegatingUnknown* WavDestFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) WavDestFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

WavDestFilter::WavDestFilter(IUnknown* outer) : TransformFilter(outer, kClsidWavDest, L"In", L"Out") {}

HRESULT WavDestFilter::CheckInputType(const dshow::MediaType& input)
{
    if (input.majortype != MEDIATYPE_Audio || input.formattype != FORMAT_WaveFormatEx || !input.pbFormat ||
        input.cbFormat < 16)
        return VFW_E_TYPE_NOT_ACCEPTED;
    const auto* wf = reinterpret_cast<const WAVEFORMATEX*>(input.pbFormat);
    // Uncompressed samples only: the header says nothing about frames of a compressed stream.
    const bool pcm = input.subtype == MEDIASUBTYPE_PCM && (wf->wFormatTag == WAVE_FORMAT_PCM || wf->wFormatTag == WAVE_FORMAT_EXTENSIBLE);
    const bool floats = input.subtype == MEDIASUBTYPE_IEEE_FLOAT && wf->wFormatTag == WAVE_FORMAT_IEEE_FLOAT;
    if (!pcm && !floats)
        return VFW_E_TYPE_NOT_ACCEPTED;
    if (wf->nChannels == 0 || wf->nSamplesPerSec == 0 || wf->nBlockAlign == 0 || wf->wBitsPerSample == 0)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT WavDestFilter::CheckTransform(const dshow::MediaType& input, const dshow::MediaType& output)
{
    if (FAILED(CheckInputType(input)))
        return VFW_E_TYPE_NOT_ACCEPTED;
    if (output.majortype != MEDIATYPE_Stream || (output.subtype != MEDIASUBTYPE_WAVE && output.subtype != GUID_NULL))
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT WavDestFilter::GetMediaType(int position, dshow::MediaType* output)
{
    if (position < 0)
        return E_INVALIDARG;
    if (!Input()->IsConnected())
        return VFW_E_NOT_CONNECTED;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *output = dshow::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_WAVE);
    return S_OK;
}

HRESULT WavDestFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = std::max<long>(request->cBuffers, 4);
    request->cbBuffer = std::max<long>(request->cbBuffer, kOutputBufferBytes);
    request->cbAlign = std::max<long>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < 1024 ? E_FAIL : S_OK;  // a header must fit in one sample
}

HRESULT WavDestFilter::Transform(IMediaSample*, IMediaSample*) { return E_UNEXPECTED; }  // Receive does the work

HRESULT WavDestFilter::SetMediaType(PIN_DIRECTION direction, const dshow::MediaType& type)
{
    if (direction == PINDIR_INPUT) {
        format_.assign(type.pbFormat, type.pbFormat + type.cbFormat);
        headerBytes_ = BuildWavHeader(format_.data(), format_.size(), 0).size();
    }
    return S_OK;
}

HRESULT WavDestFilter::StartStreaming()
{
    dataBytes_ = 0;
    return S_OK;
}

HRESULT WavDestFilter::DeliverAt(uint64_t position, const uint8_t* data, size_t size)
{
    while (size > 0) {
        win::ComPtr<IMediaSample> out;
        HRESULT hr = Output()->GetDeliveryBuffer(out.Put(), nullptr, nullptr, 0);
        if (FAILED(hr))
            return hr;
        BYTE* dst = nullptr;
        if (FAILED(out->GetPointer(&dst)) || out->GetSize() <= 0)
            return E_FAIL;
        const size_t n = std::min(size, static_cast<size_t>(out->GetSize()));
        std::memcpy(dst, data, n);
        out->SetActualDataLength(static_cast<long>(n));
        REFERENCE_TIME start = static_cast<REFERENCE_TIME>(position);
        REFERENCE_TIME stop = static_cast<REFERENCE_TIME>(position + n);
        out->SetTime(&start, &stop);
        out->SetSyncPoint(TRUE);
        hr = Output()->Deliver(out.Get());
        if (FAILED(hr))
            return hr;
        position += n;
        data += n;
        size -= n;
    }
    return S_OK;
}

HRESULT WavDestFilter::DeliverHeader()
{
    const std::vector<uint8_t> header = BuildWavHeader(format_.data(), format_.size(), dataBytes_);
    return DeliverAt(0, header.data(), header.size());
}

HRESULT WavDestFilter::Receive(IMediaSample* sample)
{
    if (!Output()->IsConnected())
        return S_OK;
    BYTE* data = nullptr;
    const long length = sample->GetActualDataLength();
    if (FAILED(sample->GetPointer(&data)) || length < 0)
        return E_FAIL;
    // What no RIFF header can describe is not written: the file stays readable.
    const uint64_t room = MaxWavDataBytes(headerBytes_ - 28) - dataBytes_;  // 28: RIFF, fmt and data chunk heads
    const size_t n = static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(length), room));
    if (n == 0)
        return S_OK;
    HRESULT hr = DeliverAt(headerBytes_ + dataBytes_, data, n);
    if (FAILED(hr))
        return hr;
    dataBytes_ += n;
    return DeliverHeader();
}

HRESULT WavDestFilter::EndOfStream()
{
    // A stream without a single sample still makes a valid (empty) file.
    if (Output()->IsConnected() && dataBytes_ == 0) {
        const HRESULT hr = DeliverHeader();
        if (FAILED(hr))
            return hr;
    }
    return TransformFilter::EndOfStream();
}

}  // namespace testbed
