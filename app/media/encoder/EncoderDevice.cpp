#include "EncoderDevice.h"
#include "dshowbase/MediaType.h"

#include "EncoderDerivation.h"
#include "Trace.h"

#include <mmreg.h>
#include <uuids.h>

#include <algorithm>
#include <cstring>

namespace encoder {

using media::DebugLine;
using media::TraceFailure;

namespace {

const HRESULT kBufferTooSmall = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);

// Fallbacks of a codec-API device whose stream filter answers nothing.
constexpr uint32_t kCodecApiBitRate = 5000000;
constexpr uint32_t kCodecApiPeak = 5500000;

HRESULT GetDword(IKsPropertySet* ks, const GUID& set, uint32_t& value)
{
    uint32_t v = 0;
    DWORD returned = 0;
    const HRESULT hr = ks->Get(set, 0, nullptr, 0, &v, sizeof v, &returned);
    if (SUCCEEDED(hr))
        value = v;
    return hr;
}

HRESULT SetDword(IKsPropertySet* ks, const GUID& set, uint32_t value)
{
    return ks->Set(set, 0, nullptr, 0, &value, sizeof value);
}

// The first output pin's stream configuration whose current format is a wave format.
HRESULT WithAudioFormat(IBaseFilter* capture, const std::function<HRESULT(IAMStreamConfig*, AM_MEDIA_TYPE*)>& use)
{
    if (!capture)
        return E_POINTER;
    win::ComPtr<IEnumPins> pins;
    HRESULT hr = capture->EnumPins(pins.Put());
    if (FAILED(hr))
        return hr;
    win::ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        win::ComPtr<IAMStreamConfig> config;
        if (FAILED(pin->QueryDirection(&direction)) || direction != PINDIR_OUTPUT || FAILED(pin.As(config)))
            continue;
        AM_MEDIA_TYPE* type = nullptr;
        if (FAILED(config->GetFormat(&type)) || !type)
            continue;
        if (type->formattype == FORMAT_WaveFormatEx && type->pbFormat && type->cbFormat >= sizeof(WAVEFORMATEX)) {
            hr = use(config.Get(), type);
            dshow::DeleteMediaType(type);
            return hr;
        }
        dshow::DeleteMediaType(type);
    }
    return E_FAIL;
}

}  // namespace

void EncoderDevice::Attach(IBaseFilter* capture, int deviceType)
{
    capture_ = win::ComPtr<IBaseFilter>::Share(capture);
    deviceType_ = deviceType;
}

void EncoderDevice::Detach()
{
    capture_.Reset();
}

void EncoderDevice::Report(const char* text) const
{
    if (reportError_)
        reportError_(text);
    else
        DebugLine("%s", text);
}

win::ComPtr<IKsPropertySet> EncoderDevice::CaptureProperties() const
{
    win::ComPtr<IKsPropertySet> ks;
    if (capture_)
        capture_.As(ks);
    return ks;
}

win::ComPtr<IKsPropertySet> EncoderDevice::StreamProperties(bool* streamPresent)
{
    win::ComPtr<IUnknown> stream;
    win::ComPtr<IKsPropertySet> ks;
    if (streamSource_ && SUCCEEDED(streamSource_(stream)) && stream)
        stream.As(ks);
    if (streamPresent)
        *streamPresent = static_cast<bool>(stream);
    return ks;
}

// One exchange of property 2: 44 bytes, again with the first ten words when the driver
// answers that the buffer is too small for it (an older driver).
HRESULT EncoderDevice::WriteParams(IKsPropertySet* ks, EncoderParams& params, bool set)
{
    HRESULT hr = E_FAIL;
    for (DWORD size : {kParamsBytes, kOlderParamsBytes}) {
        DWORD returned = 0;
        hr = set ? ks->Set(kEncoderPropertySet, kPropParams, nullptr, 0, &params, size)
                 : ks->Get(kEncoderPropertySet, kPropParams, nullptr, 0, &params, size, &returned);
        if (hr != kBufferTooSmall)
            break;
    }
    return hr;
}

HRESULT EncoderDevice::GetEncoderParams(EncoderParams& params)
{
    params = EncoderParams{};
    if (deviceType_ == kDeviceTypeCodecApi)
        return GetCodecApiParams(params);
    win::ComPtr<IKsPropertySet> ks = CaptureProperties();
    if (!ks)
        return E_FAIL;
    const HRESULT hr = WriteParams(ks.Get(), params, false);
    if (FAILED(hr))
        return TraceFailure("IKsPropertySet::Get(encoder parameters)", hr);
    return S_OK;
}

HRESULT EncoderDevice::SetEncoderParams(const EncoderParams& params)
{
    if (deviceType_ == kDeviceTypeCodecApi)
        return SetCodecApiParams(params);
    win::ComPtr<IKsPropertySet> ks = CaptureProperties();
    if (!ks)
        return E_FAIL;
    EncoderParams copy = params;
    const HRESULT hr = WriteParams(ks.Get(), copy, true);
    if (FAILED(hr))
        return TraceFailure("IKsPropertySet::Set(encoder parameters)", hr);
    currentParams_ = params;
    return S_OK;
}

HRESULT EncoderDevice::GetCodecApiParams(EncoderParams& params)
{
    params.HorzResolution = 720;
    params.VertResolution = 480;
    params.ulAudioMpegBitRate = Preset(4).audioKbps;
    params.AudioType = 0;
    params.bVBR = 0;
    params.BitRate = kCodecApiBitRate;
    params.dwPeakBitRate = kCodecApiPeak;
    bool streamPresent = false;
    win::ComPtr<IKsPropertySet> ks = StreamProperties(&streamPresent);
    if (ks) {
        uint32_t mode = 0;
        if (SUCCEEDED(GetDword(ks.Get(), kEncApiBitRateMode, mode)))
            params.bVBR = mode != 0 ? 1 : 0;
        GetDword(ks.Get(), kEncApiBitRate, params.BitRate);
        GetDword(ks.Get(), kEncApiPeakBitRate, params.dwPeakBitRate);
    }
    // A capture filter without a wave format keeps the rate of the preset the size comes from.
    params.ulAudSamplingFreq = Preset(4).samplingFreq;
    GetCaptureAudioRate(capture_.Get(), params.ulAudSamplingFreq);
    return streamPresent ? S_OK : E_FAIL;
}

HRESULT EncoderDevice::SetCodecApiParams(const EncoderParams& params)
{
    EncoderParams applied = params;
    HRESULT hr = SetCaptureAudioRate(capture_.Get(), params.ulAudSamplingFreq);
    if (FAILED(hr))
        TraceFailure("IAMStreamConfig::SetFormat(sampling rate)", hr);
    bool streamPresent = false;
    win::ComPtr<IKsPropertySet> ks = StreamProperties(&streamPresent);
    if (!ks)
        return E_FAIL;
    // Constant rate, or a variable rate held under the peak.
    if (FAILED(hr = SetDword(ks.Get(), kEncApiBitRateMode, params.bVBR ? 1 : 0)))
        TraceFailure("codec API bit rate mode", hr);
    if (FAILED(hr = SetDword(ks.Get(), kEncApiBitRate, params.BitRate)))
        return TraceFailure("codec API bit rate", hr);
    applied.dwPeakBitRate = CodecApiPeak(params.BitRate, params.dwPeakBitRate);
    if (FAILED(hr = SetDword(ks.Get(), kEncApiPeakBitRate, applied.dwPeakBitRate)))
        return TraceFailure("codec API peak bit rate", hr);
    GetDword(ks.Get(), kEncApiPeakBitRate, applied.dwPeakBitRate);
    currentParams_ = applied;
    return S_OK;
}

HRESULT EncoderDevice::GetModeAndStandard(ModeAndStandard& pair)
{
    if (deviceType_ == kDeviceTypeCodecApi) {
        pair.mode = kModeMpeg2;
        win::ComPtr<IAMAnalogVideoDecoder> decoder;
        long format = 0;
        if (!capture_ || FAILED(capture_.As(IID_IAMAnalogVideoDecoder, decoder)))
            return E_FAIL;
        const HRESULT hr = decoder->get_TVFormat(&format);
        if (FAILED(hr))
            return TraceFailure("IAMAnalogVideoDecoder::get_TVFormat", hr);
        pair.standard = StandardFromTvFormat(format);
        return S_OK;
    }
    win::ComPtr<IKsPropertySet> ks = CaptureProperties();
    if (!ks)
        return E_FAIL;
    uint32_t value[2] = {};
    DWORD returned = 0;
    const HRESULT hr = ks->Get(kEncoderPropertySet, kPropModeAndStandard, nullptr, 0, value, sizeof value, &returned);
    if (FAILED(hr))
        return TraceFailure("IKsPropertySet::Get(mode and standard)", hr);
    pair.mode = value[0];
    pair.standard = value[1];
    return S_OK;
}

int EncoderDevice::ApplyEncoderParams(ModeAndStandard& pair, const EncoderParams& params)
{
    if (deviceType_ == kDeviceTypeCodecApi) {
        ModeAndStandard device = pair;
        GetModeAndStandard(device);
        device.mode = kModeMpeg2;
        if (FAILED(SetEncoderParams(params)))
            return 1;
        pair = device;
        currentPair_ = device;
        return 0;
    }
    win::ComPtr<IKsPropertySet> ks = CaptureProperties();
    if (!ks)
        return 1;
    ModeAndStandard previous;
    const bool knewPrevious = SUCCEEDED(GetModeAndStandard(previous));
    // The mode and standard go first, so that the block is taken (and checked) in the mode
    // it was made for; a VCD block sent to an encoder left in MPEG-2 would record MPEG-2.
    uint32_t request[2] = {pair.mode, pair.standard};
    HRESULT hr = ks->Set(kEncoderPropertySet, kPropModeAndStandard, nullptr, 0, request, sizeof request);
    if (FAILED(hr))
        TraceFailure("IKsPropertySet::Set(mode and standard)", hr);
    if (FAILED(SetEncoderParams(params))) {
        if (knewPrevious && SUCCEEDED(hr)) {
            uint32_t back[2] = {previous.mode, previous.standard};
            ks->Set(kEncoderPropertySet, kPropModeAndStandard, nullptr, 0, back, sizeof back);
        }
        return 1;
    }
    ModeAndStandard applied;
    if (FAILED(GetModeAndStandard(applied)))
        return 1;
    if (applied.mode != pair.mode || applied.standard != pair.standard)
        DebugLine("encoder applies mode %u standard %u instead of %u %u", applied.mode, applied.standard, pair.mode,
                  pair.standard);
    pair = applied;
    currentPair_ = applied;
    return 0;
}

HRESULT EncoderDevice::GetCapabilities(const ModeAndStandard& request, uint32_t words[kCapabilityWords])
{
    std::memset(words, 0, kCapabilityBytes);
    win::ComPtr<IKsPropertySet> ks = CaptureProperties();
    if (!ks)
        return E_FAIL;
    words[kCapMode] = request.mode;
    words[kCapStandard] = request.standard;
    DWORD returned = 0;
    const HRESULT hr = ks->Get(kEncoderPropertySet, kPropCapabilities, nullptr, 0, words, kCapabilityBytes, &returned);
    if (FAILED(hr))
        return TraceFailure("IKsPropertySet::Get(capabilities)", hr);
    return S_OK;
}

HRESULT EncoderDevice::GetBitRateRange(uint32_t& minimum, uint32_t& maximum)
{
    if (deviceType_ == kDeviceTypeCodecApi) {
        minimum = 2000000;
        maximum = 9000000;
        return S_OK;
    }
    uint32_t words[kCapabilityWords];
    const HRESULT hr = GetCapabilities(ModeAndStandard{kModeMpeg2, kStandard525}, words);
    if (FAILED(hr))
        return hr;
    minimum = words[kCapMinBitRate];
    maximum = words[kCapMaxBitRate];
    return S_OK;
}

HRESULT EncoderDevice::GetBitRateLimits(uint32_t& average, uint32_t& peak)
{
    if (deviceType_ == kDeviceTypeCodecApi) {
        bool streamPresent = false;
        if (!StreamProperties(&streamPresent))
            Report("|Coudn't get IKsPropertySet on the encoder filter");
        average = 6000000;
        peak = 9100000;
        return S_OK;
    }
    ModeAndStandard pair;
    HRESULT hr = GetModeAndStandard(pair);
    if (FAILED(hr))
        return hr;
    uint32_t words[kCapabilityWords];
    if (FAILED(hr = GetCapabilities(pair, words)))
        return hr;
    average = words[kCapMaxAverageBitRate];
    const uint64_t tenPercentOver = static_cast<uint64_t>(average) * 11 / 10;
    peak = static_cast<uint32_t>(std::min<uint64_t>(words[kCapMaxBitRate], tenPercentOver));
    return S_OK;
}

HRESULT EncoderDevice::SetSamplingFreq(uint32_t rate)
{
    DebugLine("SetSamplingFreq Called");
    EncoderParams params;
    HRESULT hr = GetEncoderParams(params);
    if (FAILED(hr))
        return hr;
    params.ulAudSamplingFreq = rate;
    return SetEncoderParams(params);
}

HRESULT EncoderDevice::GetVideoProcAmp(long property, ProcAmpRecord& record)
{
    win::ComPtr<IAMVideoProcAmp> amp;
    if (!capture_ || FAILED(capture_.As(amp)))
        return E_NOINTERFACE;
    HRESULT hr = amp->GetRange(property, &record.minimum, &record.maximum, &record.step, &record.defaultValue,
                               &record.capsFlags);
    if (SUCCEEDED(hr))
        hr = amp->Get(property, &record.value, &record.flags);
    return hr;
}

HRESULT EncoderDevice::SetVideoProcAmp(long property, long value)
{
    win::ComPtr<IAMVideoProcAmp> amp;
    if (!capture_ || FAILED(capture_.As(amp)))
        return E_NOINTERFACE;
    return amp->Set(property, value, VideoProcAmp_Flags_Manual);
}

HRESULT EncoderDevice::EnableDataLossEvent(bool enable)
{
    win::ComPtr<IKsPropertySet> ks = CaptureProperties();
    return ks ? encoder::EnableDataLossEvent(ks.Get(), enable) : E_FAIL;
}

HRESULT EnableDataLossEvent(IKsPropertySet* ks, bool enable)
{
    if (!ks)
        return E_POINTER;
    uint32_t registration[2] = {};
    DWORD returned = 0;
    HRESULT hr = ks->Get(kEventPropertySet, kEventFramesDropped, nullptr, 0, registration, sizeof registration, &returned);
    if (FAILED(hr))
        return hr;
    const uint32_t wanted = enable ? 1 : 0;
    if (registration[1] == wanted)
        return S_OK;
    registration[1] = wanted;
    return ks->Set(kEventPropertySet, kEventFramesDropped, nullptr, 0, registration, sizeof registration);
}

HRESULT GetCaptureAudioRate(IBaseFilter* capture, uint32_t& rate)
{
    return WithAudioFormat(capture, [&](IAMStreamConfig*, AM_MEDIA_TYPE* type) {
        rate = reinterpret_cast<const WAVEFORMATEX*>(type->pbFormat)->nSamplesPerSec;
        return S_OK;
    });
}

HRESULT SetCaptureAudioRate(IBaseFilter* capture, uint32_t rate)
{
    return WithAudioFormat(capture, [&](IAMStreamConfig* config, AM_MEDIA_TYPE* type) {
        WAVEFORMATEX* wave = reinterpret_cast<WAVEFORMATEX*>(type->pbFormat);
        wave->nSamplesPerSec = rate;
        wave->nAvgBytesPerSec = rate * wave->nBlockAlign;
        return config->SetFormat(type);
    });
}

}  // namespace encoder
