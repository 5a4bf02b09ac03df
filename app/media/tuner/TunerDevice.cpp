#include "TunerDevice.h"

#include <ks.h>
#include <ksmedia.h>

#include "ChannelNavigation.h"

namespace tunerdev {
namespace {

const GUID kPropSetTuner = {0x6A2E0605, 0x28E4, 0x11D0, {0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56}};
constexpr int kStatusReads = 10;
constexpr DWORD kBusyWaitMs = 50;

template <typename T>
HRESULT GetProperty(IKsPropertySet* properties, DWORD id, T& value)
{
    if (!properties)
        return E_NOINTERFACE;
    value.Property.Set = kPropSetTuner;
    value.Property.Id = id;
    value.Property.Flags = KSPROPERTY_TYPE_GET;
    DWORD returned = 0;
    return properties->Get(kPropSetTuner, id, nullptr, 0, &value, sizeof value, &returned);
}

bool ReadModeCaps(IKsPropertySet* properties, KSPROPERTY_TUNER_MODE_CAPS_S& caps)
{
    caps = {};
    caps.Mode = KSPROPERTY_TUNER_MODE_TV;
    return SUCCEEDED(GetProperty(properties, KSPROPERTY_TUNER_MODE_CAPS, caps));
}

// Not every DirectShow interface carries a compiler-known identifier: each names its own.
template <typename I>
const IID& IidOf();
template <>
const IID& IidOf<IAMTVTuner>() { return IID_IAMTVTuner; }
template <>
const IID& IidOf<IKsPropertySet>() { return IID_IKsPropertySet; }
template <>
const IID& IidOf<IAMTVAudio>() { return IID_IAMTVAudio; }
template <>
const IID& IidOf<IAMAnalogVideoDecoder>() { return IID_IAMAnalogVideoDecoder; }

template <typename I>
win::ComPtr<I> Query(IBaseFilter* filter)
{
    win::ComPtr<I> out;
    if (filter)
        filter->QueryInterface(IidOf<I>(), out.PutVoid());
    return out;
}

}  // namespace

TunerDevice::TunerDevice(IBaseFilter* tuner, IBaseFilter* tvAudio, IBaseFilter* decoder)
    : tuner_(Query<IAMTVTuner>(tuner)),
      properties_(Query<IKsPropertySet>(tuner)),
      audio_(Query<IAMTVAudio>(tvAudio)),
      decoder_(Query<IAMAnalogVideoDecoder>(decoder))
{
}

std::optional<TunerDevice> TunerDevice::FromGraph(IFilterGraph* graph)
{
    if (!graph)
        return std::nullopt;
    win::ComPtr<IEnumFilters> filters;
    if (FAILED(graph->EnumFilters(filters.Put())))
        return std::nullopt;
    win::ComPtr<IBaseFilter> tuner, audio, decoder;
    win::ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Put(), nullptr) == S_OK) {
        if (!tuner && Query<IAMTVTuner>(filter.Get()))
            tuner = filter;
        else if (!audio && Query<IAMTVAudio>(filter.Get()))
            audio = filter;
        else if (!decoder && Query<IAMAnalogVideoDecoder>(filter.Get()))
            decoder = filter;
    }
    if (!tuner)
        return std::nullopt;
    return TunerDevice(tuner.Get(), audio.Get(), decoder.Get());
}

HRESULT TunerDevice::SetTunerCountry(long code)
{
    if (!tuner_)
        return E_FAIL;
    long current = 0;
    if (SUCCEEDED(tuner_->get_CountryCode(&current)) && current == code)
        return S_OK;
    return tuner_->put_CountryCode(code);
}

void TunerDevice::ReadRange(tuner::ChannelRange& range)
{
    long minimum = 0, maximum = 0;
    if (tuner_ && SUCCEEDED(tuner_->ChannelMinMax(&minimum, &maximum)) && minimum <= maximum) {
        range.minimum = static_cast<int>(minimum);
        range.maximum = static_cast<int>(maximum);
    }
}

std::optional<std::uint32_t> TunerDevice::SupportedStandards()
{
    KSPROPERTY_TUNER_MODE_CAPS_S caps;
    if (!ReadModeCaps(properties_.Get(), caps))
        return std::nullopt;
    return caps.StandardsSupported;
}

std::optional<std::uint32_t> TunerDevice::Granularity()
{
    KSPROPERTY_TUNER_MODE_CAPS_S caps;
    if (!ReadModeCaps(properties_.Get(), caps))
        return std::nullopt;
    return caps.TuningGranularity;
}

HRESULT TunerDevice::PrepareInputs(int inputType)
{
    if (!tuner_)
        return E_FAIL;
    AMTunerModeType mode = AMTUNER_MODE_DEFAULT;
    if (FAILED(tuner_->get_Mode(&mode)) || mode != AMTUNER_MODE_TV)
        tuner_->put_Mode(AMTUNER_MODE_TV);
    long inputs = 0;
    if (FAILED(tuner_->get_NumInputConnections(&inputs)))
        inputs = 0;
    for (long i = 0; i < inputs; ++i) {
        TunerInputType current = TunerInputCable;
        const HRESULT hr = tuner_->get_InputType(i, &current);
        if (FAILED(hr))
            return hr;
        tuner_->put_InputType(i, inputType == tuner::kInputCable ? TunerInputCable : TunerInputAntenna);
    }
    long connected = 0;
    if (SUCCEEDED(tuner_->get_ConnectInput(&connected)) && connected != 0)
        tuner_->put_ConnectInput(0);
    return S_OK;
}

HRESULT TunerDevice::PutInputType(int inputType)
{
    if (!tuner_)
        return E_FAIL;
    long connected = 0;
    if (FAILED(tuner_->get_ConnectInput(&connected)))
        connected = 0;
    return tuner_->put_InputType(connected, inputType == tuner::kInputCable ? TunerInputCable : TunerInputAntenna);
}

HRESULT TunerDevice::TuneChannel(int number, bool* signal, const ProbeWait& wait)
{
    if (!tuner_)
        return E_FAIL;
    HRESULT hr = tuner_->put_Channel(number, AMTUNER_SUBCHAN_DEFAULT, AMTUNER_SUBCHAN_DEFAULT);
    if (FAILED(hr) || !signal)
        return hr;
    *signal = false;
    if (!decoder_)
        return S_FALSE;
    for (int read = 0; read < kStatusReads; ++read) {
        KSPROPERTY_TUNER_STATUS_S status{};
        if (FAILED(GetProperty(properties_.Get(), KSPROPERTY_TUNER_STATUS, status)))
            return S_FALSE;
        if (!status.Busy) {
            const LONG offset = static_cast<LONG>(status.PLLOffset);
            if (offset == -2 || offset == 2)
                return S_OK;
            long locked = 0;
            if (FAILED(decoder_->get_HorizontalLocked(&locked)))
                return S_FALSE;
            *signal = locked != 0;
            return S_OK;
        }
        if (wait) {
            if (!wait(kBusyWaitMs))
                return E_ABORT;
        } else {
            Sleep(kBusyWaitMs);
        }
    }
    return S_FALSE;
}

HRESULT TunerDevice::ApplyFineTune(std::uint32_t baseHz, int fineTune)
{
    KSPROPERTY_TUNER_MODE_CAPS_S caps;
    if (!ReadModeCaps(properties_.Get(), caps))
        return properties_ ? S_FALSE : E_FAIL;
    KSPROPERTY_TUNER_FREQUENCY_S frequency{};
    if (FAILED(GetProperty(properties_.Get(), KSPROPERTY_TUNER_FREQUENCY, frequency)))
        return S_FALSE;
    frequency.Property.Flags = KSPROPERTY_TYPE_SET;
    frequency.Frequency = tuner::FineTunedFrequency(baseHz, fineTune, caps.TuningGranularity);
    frequency.TuningFlags = KS_TUNER_TUNING_EXACT;
    return properties_->Set(kPropSetTuner, KSPROPERTY_TUNER_FREQUENCY, nullptr, 0, &frequency, sizeof frequency);
}

HRESULT TunerDevice::VideoFrequency(std::uint32_t* hz)
{
    if (!tuner_ || !hz)
        return E_FAIL;
    long value = 0;
    const HRESULT hr = tuner_->get_VideoFrequency(&value);
    if (SUCCEEDED(hr))
        *hz = static_cast<std::uint32_t>(value);
    return hr;
}

HRESULT TunerDevice::SetTvAudioMode(long mode)
{
    return audio_ ? audio_->put_TVAudioMode(mode) : E_FAIL;
}

HRESULT TunerDevice::TvAudioMode(long* mode)
{
    return audio_ && mode ? audio_->get_TVAudioMode(mode) : E_FAIL;
}

}  // namespace tunerdev
