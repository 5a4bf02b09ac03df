#include "MuxFilter.h"

#include <win/ComPtr.h>

#include <amvideo.h>
#include <dvdmedia.h>
#include <mmreg.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cstring>

namespace testbed {
namespace {

constexpr int kPacksPerSample = 8;

bool IsMpeg1Video(const AM_MEDIA_TYPE& t)
{
    return t.majortype == MEDIATYPE_Video && (t.subtype == MEDIASUBTYPE_MPEG1Payload || t.subtype == MEDIASUBTYPE_MPEG1Video) &&
           t.formattype == FORMAT_MPEGVideo && t.pbFormat && t.cbFormat >= sizeof(MPEG1VIDEOINFO) - 1;
}

bool IsMpeg2Video(const AM_MEDIA_TYPE& t)
{
    return t.majortype == MEDIATYPE_Video && t.subtype == MEDIASUBTYPE_MPEG2_VIDEO && t.formattype == FORMAT_MPEG2Video &&
           t.pbFormat && t.cbFormat >= sizeof(MPEG2VIDEOINFO) - 4;
}

bool IsLayer2Audio(const AM_MEDIA_TYPE& t)
{
    if (t.majortype != MEDIATYPE_Audio || t.formattype != FORMAT_WaveFormatEx || !t.pbFormat || t.cbFormat < sizeof(WAVEFORMATEX))
        return false;
    return reinterpret_cast<const WAVEFORMATEX*>(t.pbFormat)->wFormatTag == WAVE_FORMAT_MPEG;
}

}  // namespace

MuxInputPin::MuxInputPin(MuxFilter* filter, win::CritSec* lock, mpegmux::Input kind)
    : InputPin(filter, lock, kind == mpegmux::Input::Video ? L"Video" : L"Audio"), mux_(filter), kind_(kind)
{
}

HRESULT MuxInputPin::CheckMediaType(const dshow::MediaType& type)
{
    const bool ok = kind_ == mpegmux::Input::Video ? IsMpeg1Video(type) || IsMpeg2Video(type) : IsLayer2Audio(type);
    return ok ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

uint32_t MuxInputPin::AnnouncedBitRate() const
{
    const dshow::MediaType& t = CurrentMediaType();
    if (IsMpeg2Video(t))
        return reinterpret_cast<const MPEG2VIDEOINFO*>(t.pbFormat)->hdr.dwBitRate;
    if (IsMpeg1Video(t))
        return reinterpret_cast<const MPEG1VIDEOINFO*>(t.pbFormat)->hdr.dwBitRate;
    if (IsLayer2Audio(t))
        return reinterpret_cast<const WAVEFORMATEX*>(t.pbFormat)->nAvgBytesPerSec * 8;
    return 0;
}

STDMETHODIMP MuxInputPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = InputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return mux_->ReceiveOn(kind_, sample);
}

STDMETHODIMP MuxInputPin::EndOfStream()
{
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    return mux_->EndOfStreamOn(kind_);
}

MuxOutputPin::MuxOutputPin(MuxFilter* filter, win::CritSec* lock) : OutputPin(filter, lock, L"Program Stream"), mux_(filter) {}

HRESULT MuxOutputPin::CheckMediaType(const dshow::MediaType& type)
{
    const GUID& expected = mux_->VideoIsMpeg1() ? MEDIASUBTYPE_MPEG1System : MEDIASUBTYPE_MPEG2_PROGRAM;
    return type.majortype == MEDIATYPE_Stream && type.subtype == expected ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT MuxOutputPin::GetMediaType(int position, dshow::MediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = dshow::MediaType(MEDIATYPE_Stream, mux_->VideoIsMpeg1() ? MEDIASUBTYPE_MPEG1System : MEDIASUBTYPE_MPEG2_PROGRAM);
    return S_OK;
}

HRESULT MuxOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    const long size = static_cast<long>(mpegmux::PackSizeForMode(mpegmux::kModeCdSectors) * kPacksPerSample);
    request->cBuffers = std::max<long>(request->cBuffers, 8);
    request->cbBuffer = std::max(request->cbBuffer, size);
    request->cbAlign = std::max<long>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < size ? E_FAIL : S_OK;
}

dshow::INonDelegatingUnknown* MuxFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) MuxFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

MuxFilter::MuxFilter(IUnknown* outer) : BaseFilter(outer, &filterLock_, kClsidMpegMultiplexer)
{
    video_ = std::make_unique<MuxInputPin>(this, &filterLock_, mpegmux::Input::Video);
    audio_ = std::make_unique<MuxInputPin>(this, &filterLock_, mpegmux::Input::Audio);
    output_ = std::make_unique<MuxOutputPin>(this, &filterLock_);
}

MuxFilter::~MuxFilter() = default;

HRESULT STDMETHODCALLTYPE MuxFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == __uuidof(IMpegMuxConfig))
        return GetInterface(static_cast<IMpegMuxConfig*>(this), out);
    return BaseFilter::NonDelegatingQueryInterface(iid, out);
}

dshow::BasePin* MuxFilter::GetPin(int index)
{
    switch (index) {
    case 0: return video_.get();
    case 1: return audio_.get();
    case 2: return output_.get();
    default: return nullptr;
    }
}

STDMETHODIMP MuxFilter::GetOutputMode(DWORD* mode)
{
    if (!mode)
        return E_POINTER;
    win::AutoLock lock(filterLock_);
    *mode = mode_;
    return S_OK;
}

STDMETHODIMP MuxFilter::SetOutputMode(DWORD mode)
{
    if (mode != mpegmux::kModeCdSectors && mode != mpegmux::kModeDvdSectors)
        return E_INVALIDARG;
    win::AutoLock lock(filterLock_);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    mode_ = mode;
    return S_OK;
}

bool MuxFilter::VideoIsMpeg1()
{
    return video_->IsConnected() && IsMpeg1Video(video_->CurrentMediaType());
}

STDMETHODIMP MuxFilter::Pause()
{
    win::AutoLock lock(filterLock_);
    if (IsStopped()) {
        mpegmux::MuxSettings s;
        s.mpeg2 = !VideoIsMpeg1();
        s.packSize = mpegmux::PackSizeForMode(mode_);
        s.videoBitRate = video_->AnnouncedBitRate();
        s.audioBitRate = audio_->AnnouncedBitRate();
        win::AutoLock mux(muxLock_);
        mux_ = std::make_unique<mpegmux::ProgramStreamMux>(s);
        // An input with nothing connected sends nothing: the stream does not wait for it.
        ended_[0] = !video_->IsConnected();
        ended_[1] = !audio_->IsConnected();
        if (ended_[0])
            mux_->end(mpegmux::Input::Video);
        if (ended_[1])
            mux_->end(mpegmux::Input::Audio);
        bytesDelivered_ = 0;
        finished_ = false;
    }
    return BaseFilter::Pause();
}

STDMETHODIMP MuxFilter::Stop()
{
    const HRESULT hr = BaseFilter::Stop();
    // A Receive still in the pack writer finishes before the writer goes.
    win::AutoLock mux(muxLock_);
    mux_.reset();
    return hr;
}

HRESULT MuxFilter::DeliverPacks(std::vector<uint8_t>& packs)
{
    size_t sent = 0;
    const size_t chunk = mux_->settings().packSize * kPacksPerSample;
    while (sent < packs.size()) {
        IMediaSample* raw = nullptr;
        HRESULT hr = output_->GetDeliveryBuffer(&raw, nullptr, nullptr, 0);
        if (FAILED(hr))
            return hr;
        win::ComPtr<IMediaSample> sample = win::ComPtr<IMediaSample>::Adopt(raw);
        BYTE* data = nullptr;
        const size_t n = std::min(chunk, packs.size() - sent);
        if (FAILED(sample->GetPointer(&data)) || sample->GetSize() < static_cast<long>(n))
            return E_FAIL;
        std::memcpy(data, packs.data() + sent, n);
        sample->SetActualDataLength(static_cast<long>(n));
        REFERENCE_TIME start = static_cast<REFERENCE_TIME>(bytesDelivered_);
        REFERENCE_TIME stop = static_cast<REFERENCE_TIME>(bytesDelivered_ + n);
        sample->SetTime(&start, &stop);
        sample->SetSyncPoint(TRUE);
        hr = output_->Deliver(sample.Get());
        if (hr != S_OK)
            return hr;
        bytesDelivered_ += n;
        sent += n;
    }
    packs.clear();
    return S_OK;
}

HRESULT MuxFilter::ReceiveOn(mpegmux::Input input, IMediaSample* sample)
{
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)))
        return E_FAIL;
    const long length = sample->GetActualDataLength();
    REFERENCE_TIME start = 0, stop = 0;
    std::optional<uint64_t> time90;
    if (SUCCEEDED(sample->GetTime(&start, &stop)))
        time90 = static_cast<uint64_t>(std::max<REFERENCE_TIME>(start, 0)) * 9 / 1000;
    win::AutoLock lock(muxLock_);
    if (!mux_ || finished_)
        return S_FALSE;
    mux_->add(input, data, static_cast<size_t>(std::max(length, 0L)), time90);
    std::vector<uint8_t> packs;
    mux_->takePacks(packs);
    return output_->IsConnected() ? DeliverPacks(packs) : S_OK;
}

HRESULT MuxFilter::EndOfStreamOn(mpegmux::Input input)
{
    win::AutoLock lock(muxLock_);
    if (!mux_ || finished_)
        return S_OK;
    ended_[static_cast<int>(input)] = true;
    mux_->end(input);
    std::vector<uint8_t> packs;
    if (!ended_[0] || !ended_[1]) {
        mux_->takePacks(packs);
        return output_->IsConnected() ? DeliverPacks(packs) : S_OK;
    }
    mux_->finish(packs);
    finished_ = true;
    if (!output_->IsConnected())
        return S_OK;
    DeliverPacks(packs);
    return output_->DeliverEndOfStream();
}

}  // namespace testbed
