#include "AudioCompressorFilter.h"

#include "FilterIds.h"

#include <mmreg.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cstring>

namespace testbed {
namespace {

uint32_t DefaultKbps(uint32_t channels) { return channels == 1 ? 112 : 224; }

WAVEFORMATEX Pcm(uint32_t rate, uint32_t channels)
{
    WAVEFORMATEX w{};
    w.wFormatTag = WAVE_FORMAT_PCM;
    w.nChannels = static_cast<WORD>(channels);
    w.nSamplesPerSec = rate;
    w.wBitsPerSample = 16;
    w.nBlockAlign = static_cast<WORD>(2 * channels);
    w.nAvgBytesPerSec = rate * w.nBlockAlign;
    return w;
}

// The input: proposes the configured PCM type, so that a capture pin offering several rates
// connects at the one the compressor was set to.
class CompressorInputPin : public dshow::TransformInputPin {
public:
    CompressorInputPin(AudioCompressorFilter* filter, win::CritSec* lock)
        : TransformInputPin(filter, lock, L"PCM Input"), compressor_(filter)
    {
    }
    HRESULT GetMediaType(int position, dshow::MediaType* type) override
    {
        if (position < 0)
            return E_INVALIDARG;
        const std::optional<mpegaudio::Mp2Format> f = compressor_->ConfiguredFormat();
        if (position > 0 || !f)
            return VFW_S_NO_MORE_ITEMS;
        *type = dshow::MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM);
        const WAVEFORMATEX w = Pcm(f->sampleRate, f->channels);
        type->SetFormat(FORMAT_WaveFormatEx, &w, sizeof w);
        type->bFixedSizeSamples = TRUE;
        type->lSampleSize = w.nBlockAlign;
        return S_OK;
    }

private:
    AudioCompressorFilter* compressor_;
};

class CompressorOutputPin : public dshow::TransformOutputPin, public IAMStreamConfig {
public:
    CompressorOutputPin(AudioCompressorFilter* filter, win::CritSec* lock)
        : TransformOutputPin(filter, lock, L"MPEG Audio Output"), compressor_(filter)
    {
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return NonDelegatingQueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return Owner()->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return Owner()->Release(); }
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IAMStreamConfig)
            return GetInterface(static_cast<IAMStreamConfig*>(this), out);
        return TransformOutputPin::NonDelegatingQueryInterface(iid, out);
    }

    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override { return compressor_->Configure(type); }
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override
    {
        if (!type)
            return E_POINTER;
        const dshow::MediaType t = MpegAudioType(compressor_->CurrentFormat());
        *type = dshow::CreateMediaType(&t);
        return *type ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override
    {
        if (!count || !size)
            return E_POINTER;
        *count = 1;
        *size = sizeof(AUDIO_STREAM_CONFIG_CAPS);
        return S_OK;
    }
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override
    {
        if (!type || !caps)
            return E_POINTER;
        if (index != 0)
            return S_FALSE;
        auto* c = reinterpret_cast<AUDIO_STREAM_CONFIG_CAPS*>(caps);
        *c = AUDIO_STREAM_CONFIG_CAPS{};
        c->guid = MEDIATYPE_Audio;
        c->MinimumChannels = 1;
        c->MaximumChannels = 2;
        c->ChannelsGranularity = 1;
        c->MinimumBitsPerSample = c->MaximumBitsPerSample = 16;
        c->BitsPerSampleGranularity = 16;
        c->MinimumSampleFrequency = 32000;
        c->MaximumSampleFrequency = 48000;
        c->SampleFrequencyGranularity = 100;
        return GetFormat(type);
    }

private:
    AudioCompressorFilter* compressor_;
};

}  // namespace

dshow::MediaType MpegAudioType(const mpegaudio::Mp2Format& f)
{
    MPEG1WAVEFORMAT w{};
    w.wfx.wFormatTag = WAVE_FORMAT_MPEG;
    w.wfx.nChannels = static_cast<WORD>(f.channels);
    w.wfx.nSamplesPerSec = f.sampleRate;
    w.wfx.nAvgBytesPerSec = f.kbps * 125;
    w.wfx.nBlockAlign = 1;
    w.wfx.cbSize = sizeof(MPEG1WAVEFORMAT) - sizeof(WAVEFORMATEX);
    w.fwHeadLayer = ACM_MPEG_LAYER2;
    w.dwHeadBitrate = f.kbps * 1000;
    w.fwHeadMode = f.channels == 1 ? ACM_MPEG_SINGLECHANNEL : ACM_MPEG_STEREO;
    w.wHeadEmphasis = 1;
    w.fwHeadFlags = ACM_MPEG_ID_MPEG1 | ACM_MPEG_ORIGINALHOME;
    dshow::MediaType t(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload);
    t.SetFormat(FORMAT_WaveFormatEx, &w, sizeof w);
    t.bFixedSizeSamples = FALSE;
    return t;
}

std::optional<mpegaudio::Mp2Format> PcmFormatOf(const AM_MEDIA_TYPE& type)
{
    if (type.majortype != MEDIATYPE_Audio || type.subtype != MEDIASUBTYPE_PCM || type.formattype != FORMAT_WaveFormatEx ||
        !type.pbFormat || type.cbFormat < sizeof(WAVEFORMATEX))
        return std::nullopt;
    const auto* w = reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
    mpegaudio::Mp2Format f{w->nSamplesPerSec, w->nChannels, DefaultKbps(w->nChannels)};
    if (w->wFormatTag != WAVE_FORMAT_PCM || w->wBitsPerSample != 16 || !mpegaudio::IsValidFormat(f))
        return std::nullopt;
    return f;
}

std::optional<mpegaudio::Mp2Format> MpegFormatOf(const AM_MEDIA_TYPE& type)
{
    if (type.majortype != MEDIATYPE_Audio || type.formattype != FORMAT_WaveFormatEx || !type.pbFormat ||
        type.cbFormat < sizeof(WAVEFORMATEX))
        return std::nullopt;
    const auto* w = reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
    if (w->wFormatTag != WAVE_FORMAT_MPEG)
        return std::nullopt;
    uint32_t kbps = w->nAvgBytesPerSec / 125;
    if (type.cbFormat >= sizeof(MPEG1WAVEFORMAT)) {
        const auto* m = reinterpret_cast<const MPEG1WAVEFORMAT*>(type.pbFormat);
        if (m->fwHeadLayer != ACM_MPEG_LAYER2)
            return std::nullopt;
        if (m->dwHeadBitrate)
            kbps = m->dwHeadBitrate / 1000;
    }
    const mpegaudio::Mp2Format f{w->nSamplesPerSec, w->nChannels, kbps};
    if (!mpegaudio::IsValidFormat(f))
        return std::nullopt;
    return f;
}

dshow::INonDelegatingUnknown* AudioCompressorFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) AudioCompressorFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

AudioCompressorFilter::AudioCompressorFilter(IUnknown* outer) : TransformFilter(outer, kClsidMpegAudioCompressor)
{
    input_ = std::make_unique<CompressorInputPin>(this, &filterLock_);
    output_ = std::make_unique<CompressorOutputPin>(this, &filterLock_);
}

std::optional<mpegaudio::Mp2Format> AudioCompressorFilter::ConfiguredFormat()
{
    win::AutoLock lock(configLock_);
    return configured_;
}

mpegaudio::Mp2Format AudioCompressorFilter::CurrentFormat()
{
    win::AutoLock lock(configLock_);
    if (configured_)
        return *configured_;
    if (input_->IsConnected()) {
        if (const auto f = PcmFormatOf(input_->CurrentMediaType()))
            return *f;
    }
    return mpegaudio::Mp2Format{48000, 2, DefaultKbps(2)};
}

HRESULT AudioCompressorFilter::Configure(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    // Either the Layer II format itself or the PCM it is to be made from (bit rate kept).
    std::optional<mpegaudio::Mp2Format> f = MpegFormatOf(*type);
    if (!f) {
        f = PcmFormatOf(*type);
        if (f)
            f->kbps = CurrentFormat().kbps;
        if (f && !mpegaudio::IsValidFormat(*f))
            f->kbps = DefaultKbps(f->channels);
    }
    if (!f)
        return VFW_E_INVALIDMEDIATYPE;
    win::AutoLock lock(filterLock_);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    if (input_->IsConnected()) {
        const auto in = PcmFormatOf(input_->CurrentMediaType());
        if (!in || in->sampleRate != f->sampleRate || in->channels != f->channels)
            return VFW_E_WRONG_STATE;  // the connected input would no longer fit
    }
    if (output_->IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    win::AutoLock config(configLock_);
    configured_ = f;
    return S_OK;
}

HRESULT AudioCompressorFilter::CheckInputType(const dshow::MediaType& input)
{
    const auto f = PcmFormatOf(input);
    if (!f)
        return VFW_E_TYPE_NOT_ACCEPTED;
    win::AutoLock lock(configLock_);
    if (configured_ && (configured_->sampleRate != f->sampleRate || configured_->channels != f->channels))
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT AudioCompressorFilter::CheckTransform(const dshow::MediaType& input, const dshow::MediaType& output)
{
    const auto in = PcmFormatOf(input);
    const auto out = MpegFormatOf(output);
    if (!in || !out || in->sampleRate != out->sampleRate || in->channels != out->channels)
        return VFW_E_TYPE_NOT_ACCEPTED;
    const auto configured = ConfiguredFormat();
    if (configured && configured->kbps != out->kbps)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT AudioCompressorFilter::GetMediaType(int position, dshow::MediaType* output)
{
    if (position < 0)
        return E_INVALIDARG;
    if (!input_->IsConnected())
        return VFW_E_NOT_CONNECTED;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *output = MpegAudioType(CurrentFormat());
    return S_OK;
}

HRESULT AudioCompressorFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    // One frame per sample; the largest Layer II frame is under 1800 bytes.
    request->cBuffers = std::max<long>(request->cBuffers, 16);
    request->cbBuffer = std::max<long>(request->cbBuffer, 2048);
    request->cbAlign = std::max<long>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < 2048 ? E_FAIL : S_OK;
}

HRESULT AudioCompressorFilter::StartStreaming()
{
    encoder_.reset();
    pending_.clear();
    base_.reset();
    framesOut_ = 0;
    return S_OK;
}

HRESULT AudioCompressorFilter::EncodeAndDeliver(bool flushPartial)
{
    if (!encoder_)
        return S_OK;
    const mpegaudio::Mp2Format& f = encoder_->format();
    const size_t frameSamples = static_cast<size_t>(mpegaudio::kSamplesPerFrame) * f.channels;
    if (flushPartial && !pending_.empty())
        pending_.resize(((pending_.size() + frameSamples - 1) / frameSamples) * frameSamples, 0);
    size_t used = 0;
    HRESULT hr = S_OK;
    std::vector<uint8_t> frame;
    while (pending_.size() - used >= frameSamples) {
        frame.clear();
        encoder_->encode(pending_.data() + used, frame);
        used += frameSamples;
        IMediaSample* raw = nullptr;
        hr = output_->GetDeliveryBuffer(&raw, nullptr, nullptr, 0);
        if (FAILED(hr))
            break;
        win::ComPtr<IMediaSample> out = win::ComPtr<IMediaSample>::Adopt(raw);
        BYTE* data = nullptr;
        if (FAILED(out->GetPointer(&data)) || out->GetSize() < static_cast<long>(frame.size())) {
            hr = E_FAIL;
            break;
        }
        std::memcpy(data, frame.data(), frame.size());
        out->SetActualDataLength(static_cast<long>(frame.size()));
        REFERENCE_TIME start = *base_ + static_cast<REFERENCE_TIME>(framesOut_ * mpegaudio::kSamplesPerFrame * 10000000ull / f.sampleRate);
        ++framesOut_;
        REFERENCE_TIME stop = *base_ + static_cast<REFERENCE_TIME>(framesOut_ * mpegaudio::kSamplesPerFrame * 10000000ull / f.sampleRate);
        out->SetTime(&start, &stop);
        out->SetSyncPoint(TRUE);
        hr = output_->Deliver(out.Get());
        if (hr != S_OK)
            break;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
    return hr;
}

HRESULT AudioCompressorFilter::Receive(IMediaSample* sample)
{
    if (!encoder_) {
        const auto in = PcmFormatOf(input_->CurrentMediaType());
        if (!in)
            return VFW_E_INVALIDMEDIATYPE;
        mpegaudio::Mp2Format f = CurrentFormat();
        f.sampleRate = in->sampleRate;
        f.channels = in->channels;
        encoder_ = std::make_unique<mpegaudio::Mp2FrameEncoder>(f);
    }
    if (!base_) {
        REFERENCE_TIME start = 0, stop = 0;
        base_ = SUCCEEDED(sample->GetTime(&start, &stop)) ? start : 0;
    }
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)))
        return E_FAIL;
    const long bytes = sample->GetActualDataLength();
    const auto* pcm = reinterpret_cast<const int16_t*>(data);
    pending_.insert(pending_.end(), pcm, pcm + bytes / 2);
    return EncodeAndDeliver(false);
}

HRESULT AudioCompressorFilter::EndOfStream()
{
    // The last partial frame is completed with silence rather than lost.
    EncodeAndDeliver(true);
    return TransformFilter::EndOfStream();
}

}  // namespace testbed
