#include "PcmAudioPin.h"

#include "CardControl.h"
#include "EncoderState.h"
#include "FrontEnd.h"
#include "VirtualAudioPin.h"

#include <mmreg.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <thread>

namespace vcap {
namespace {

constexpr uint32_t kRates[] = {48000, 44100, 32000};
constexpr uint32_t kBufferMs = 50;

std::optional<uint32_t> PcmRateOf(const AM_MEDIA_TYPE& t)
{
    if (t.majortype != MEDIATYPE_Audio || t.subtype != MEDIASUBTYPE_PCM || t.formattype != FORMAT_WaveFormatEx || !t.pbFormat ||
        t.cbFormat < sizeof(WAVEFORMATEX))
        return std::nullopt;
    const auto* w = reinterpret_cast<const WAVEFORMATEX*>(t.pbFormat);
    if (w->wFormatTag != WAVE_FORMAT_PCM || w->nChannels != 2 || w->wBitsPerSample != 16 ||
        !IsEncoderSamplingRate(static_cast<long>(w->nSamplesPerSec)))
        return std::nullopt;
    return w->nSamplesPerSec;
}

}  // namespace

dshow::MediaType CardPcmType(uint32_t rate)
{
    WAVEFORMATEX w{};
    w.wFormatTag = WAVE_FORMAT_PCM;
    w.nChannels = 2;
    w.wBitsPerSample = 16;
    w.nSamplesPerSec = rate;
    w.nBlockAlign = 4;
    w.nAvgBytesPerSec = rate * 4;
    dshow::MediaType t(MEDIATYPE_Audio, MEDIASUBTYPE_PCM);
    t.SetFormat(FORMAT_WaveFormatEx, &w, sizeof w);
    t.bFixedSizeSamples = TRUE;
    t.lSampleSize = 4;
    return t;
}

void AppendPcmTone(bool tone, uint32_t rate, uint64_t position, uint32_t frames, uint8_t* out)
{
    const double step = 2 * 3.14159265358979 * PcmAudioPin::kToneHz / rate;
    for (uint32_t i = 0; i < frames; ++i) {
        const int16_t v = tone ? static_cast<int16_t>(std::lround(PcmAudioPin::kToneAmplitude *
                                                                   std::sin(step * static_cast<double>((position + i) % rate))))
                               : 0;
        const auto u = static_cast<uint16_t>(v);
        out[4 * i] = out[4 * i + 2] = static_cast<uint8_t>(u & 0xFF);
        out[4 * i + 1] = out[4 * i + 3] = static_cast<uint8_t>(u >> 8);
    }
}

PcmAudioPin::PcmAudioPin(dshow::SourceFilter* filter, const int* cardNumber)
    : SourceStream(filter, L"Virtual Audio Out"), cardNumber_(cardNumber)
{
}

HRESULT STDMETHODCALLTYPE PcmAudioPin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IAMStreamConfig)
        return GetInterface(static_cast<IAMStreamConfig*>(this), out);
    if (iid == IID_IAMStreamControl)
        return GetInterface(static_cast<IAMStreamControl*>(this), out);
    return SourceStream::NonDelegatingQueryInterface(iid, out);
}

uint32_t PcmAudioPin::CardRate() const
{
    EncoderState s;
    LoadEncoderState(*cardNumber_, s);
    return IsEncoderSamplingRate(static_cast<long>(s.params.audSamplingFreq)) ? s.params.audSamplingFreq : 48000;
}

HRESULT PcmAudioPin::CheckMediaType(const dshow::MediaType& type)
{
    return PcmRateOf(type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT PcmAudioPin::GetMediaType(int position, dshow::MediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    const uint32_t current = CardRate();
    if (position == 0) {
        *type = CardPcmType(current);
        return S_OK;
    }
    int n = 0;
    for (uint32_t r : kRates) {
        if (r != current && ++n == position) {
            *type = CardPcmType(r);
            return S_OK;
        }
    }
    return VFW_S_NO_MORE_ITEMS;
}

HRESULT PcmAudioPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    const long size = static_cast<long>(48000 * 4 * kBufferMs / 1000);
    request->cBuffers = std::max<long>(request->cBuffers, 8);
    request->cbBuffer = std::max(request->cbBuffer, size);
    request->cbAlign = std::max<long>(request->cbAlign, 4);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < size ? E_FAIL : S_OK;
}

HRESULT PcmAudioPin::OnThreadStart()
{
    const auto rate = PcmRateOf(CurrentMediaType());
    if (!rate)
        return E_UNEXPECTED;
    rate_ = *rate;
    framesSent_ = 0;
    clockStarted_ = false;
    return S_OK;
}

HRESULT PcmAudioPin::Run(REFERENCE_TIME start)
{
    ranAt_ = std::chrono::steady_clock::now();
    return SourceStream::Run(start);
}

HRESULT PcmAudioPin::FillBuffer(IMediaSample* sample)
{
    if (!clockStarted_) {
        started_ = ranAt_;
        clockStarted_ = true;
    }
    const uint32_t frames = rate_ * kBufferMs / 1000;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || sample->GetSize() < static_cast<long>(frames * 4))
        return E_FAIL;
    // The sound chip hands over a buffer once its last sample has been digitised.
    const auto due = started_ + std::chrono::microseconds((framesSent_ + frames) * 1000000ull / rate_);
    while (!StopRequested() && std::chrono::steady_clock::now() < due)
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(due - std::chrono::steady_clock::now(),
                                                                                  std::chrono::milliseconds(20)));
    if (StopRequested() || StopReached(static_cast<REFERENCE_TIME>(framesSent_ * 10000000ull / rate_)))
        return S_FALSE;
    const RoutedVideo routed = ReadRoutedVideo(*cardNumber_, GetTickCount());
    AppendPcmTone(routed.state.signal, rate_, framesSent_, frames, data);
    REFERENCE_TIME start = static_cast<REFERENCE_TIME>(framesSent_ * 10000000ull / rate_);
    framesSent_ += frames;
    REFERENCE_TIME stop = static_cast<REFERENCE_TIME>(framesSent_ * 10000000ull / rate_);
    sample->SetTime(&start, &stop);
    sample->SetActualDataLength(static_cast<long>(frames * 4));
    sample->SetSyncPoint(TRUE);
    return S_OK;
}

STDMETHODIMP PcmAudioPin::SetFormat(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    const auto rate = PcmRateOf(*type);
    if (!rate)
        return VFW_E_INVALIDMEDIATYPE;
    win::AutoLock lock(*lock_);
    if (IsConnected() && PcmRateOf(CurrentMediaType()) != rate)
        return VFW_E_WRONG_STATE;  // a connected pin keeps the rate it was connected at
    EncoderState s;
    if (!LoadEncoderState(*cardNumber_, s))
        return E_FAIL;
    s.params.audSamplingFreq = *rate;
    return SaveEncoderState(*cardNumber_, s) ? S_OK : E_FAIL;
}

STDMETHODIMP PcmAudioPin::GetFormat(AM_MEDIA_TYPE** type)
{
    if (!type)
        return E_POINTER;
    win::AutoLock lock(*lock_);
    const dshow::MediaType t = IsConnected() ? CurrentMediaType() : CardPcmType(CardRate());
    *type = dshow::CreateMediaType(&t);
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP PcmAudioPin::GetNumberOfCapabilities(int* count, int* size)
{
    if (!count || !size)
        return E_POINTER;
    *count = 1;
    *size = sizeof(AUDIO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP PcmAudioPin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps)
{
    if (!type || !caps)
        return E_POINTER;
    if (index != 0)
        return S_FALSE;
    auto* c = reinterpret_cast<AUDIO_STREAM_CONFIG_CAPS*>(caps);
    *c = AUDIO_STREAM_CONFIG_CAPS{};
    c->guid = MEDIATYPE_Audio;
    c->MinimumChannels = c->MaximumChannels = 2;
    c->ChannelsGranularity = 1;
    c->MinimumBitsPerSample = c->MaximumBitsPerSample = 16;
    c->BitsPerSampleGranularity = 16;
    c->MinimumSampleFrequency = kMinSamplingRate;
    c->MaximumSampleFrequency = kMaxSamplingRate;
    c->SampleFrequencyGranularity = 100;
    const dshow::MediaType t = CardPcmType(CardRate());
    *type = dshow::CreateMediaType(&t);
    return *type ? S_OK : E_OUTOFMEMORY;
}

}  // namespace vcap
