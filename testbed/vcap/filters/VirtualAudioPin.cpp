#include "VirtualAudioPin.h"

#include "EncoderState.h"

#include <mmreg.h>
#include <uuids.h>
#include <vfwmsgs.h>

namespace vcap {
namespace {

WAVEFORMATEX Pcm(long rate)
{
    WAVEFORMATEX w{};
    w.wFormatTag = WAVE_FORMAT_PCM;
    w.nChannels = 2;
    w.wBitsPerSample = 16;
    w.nSamplesPerSec = static_cast<DWORD>(rate);
    w.nBlockAlign = 4;
    w.nAvgBytesPerSec = w.nSamplesPerSec * w.nBlockAlign;
    return w;
}

}  // namespace

bool IsEncoderSamplingRate(long hz) { return hz == 32000 || hz == 44100 || hz == 48000; }

VirtualAudioPin::VirtualAudioPin(dshow::BaseFilter* filter, win::CritSec* lock, const int* cardNumber, ULONG factoryId)
    : AnalogPin(filter, lock, L"Virtual Audio Out", PINDIR_OUTPUT, MEDIATYPE_Audio, WireMedium(Wire::EncoderAudio, *cardNumber),
                factoryId),
      cardNumber_(cardNumber)
{
}

HRESULT STDMETHODCALLTYPE VirtualAudioPin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IAMStreamConfig)
        return GetInterface(static_cast<IAMStreamConfig*>(this), out);
    return AnalogPin::NonDelegatingQueryInterface(iid, out);
}

dshow::MediaType VirtualAudioPin::CurrentType() const
{
    EncoderState s;
    LoadEncoderState(*cardNumber_, s);
    const long rate = IsEncoderSamplingRate(static_cast<long>(s.params.audSamplingFreq))
                          ? static_cast<long>(s.params.audSamplingFreq)
                          : kMaxSamplingRate;
    dshow::MediaType t(MEDIATYPE_Audio, MEDIASUBTYPE_PCM);
    const WAVEFORMATEX w = Pcm(rate);
    t.SetFormat(FORMAT_WaveFormatEx, &w, sizeof w);
    t.bFixedSizeSamples = TRUE;
    t.lSampleSize = w.nBlockAlign;
    return t;
}

HRESULT VirtualAudioPin::GetMediaType(int position, dshow::MediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = CurrentType();
    return S_OK;
}

STDMETHODIMP VirtualAudioPin::SetFormat(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    if (type->majortype != MEDIATYPE_Audio || type->formattype != FORMAT_WaveFormatEx || !type->pbFormat ||
        type->cbFormat < sizeof(WAVEFORMATEX))
        return VFW_E_INVALIDMEDIATYPE;
    const auto* w = reinterpret_cast<const WAVEFORMATEX*>(type->pbFormat);
    if (w->wFormatTag != WAVE_FORMAT_PCM || w->nChannels != 2 || w->wBitsPerSample != 16 ||
        !IsEncoderSamplingRate(static_cast<long>(w->nSamplesPerSec)))
        return VFW_E_INVALIDMEDIATYPE;
    win::AutoLock lock(*lock_);
    EncoderState s;
    if (!LoadEncoderState(*cardNumber_, s))
        return E_FAIL;
    s.params.audSamplingFreq = w->nSamplesPerSec;
    return SaveEncoderState(*cardNumber_, s) ? S_OK : E_FAIL;
}

STDMETHODIMP VirtualAudioPin::GetFormat(AM_MEDIA_TYPE** type)
{
    if (!type)
        return E_POINTER;
    const dshow::MediaType t = CurrentType();
    *type = dshow::CreateMediaType(&t);
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP VirtualAudioPin::GetNumberOfCapabilities(int* count, int* size)
{
    if (!count || !size)
        return E_POINTER;
    *count = 1;
    *size = sizeof(AUDIO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP VirtualAudioPin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps)
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
    c->SampleFrequencyGranularity = 100;  // 44100 lies on the grid; the encoder takes three rates of it
    const dshow::MediaType t = CurrentType();
    *type = dshow::CreateMediaType(&t);
    return *type ? S_OK : E_OUTOFMEMORY;
}

}  // namespace vcap
