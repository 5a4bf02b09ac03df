#include "EncoderDerivation.h"

#include <algorithm>

namespace encoder {
namespace {

constexpr QualityPreset kPresets[kPresetCount] = {
    {352, 240, 288, 44100, 224},
    {160, 112, 144, 32000, 64},
    {352, 240, 288, 44100, 224},
    {480, 480, 576, 44100, 224},
    {720, 480, 576, 48000, 224},
};

constexpr uint32_t kVcdBitRate = 1150000;

void FillPreset(int index, const DeviceFacts& device, EncoderParams& p)
{
    const QualityPreset& preset = Preset(index);
    p.HorzResolution = preset.width;
    p.VertResolution = device.standard == kStandard525 ? preset.height525 : preset.height625;
    p.ulAudSamplingFreq = device.audioCompressorFallback ? 32000 : preset.samplingFreq;
    p.ulAudioMpegBitRate = preset.audioKbps;
}

// A template value below zero was never stored: the device's own value stays.
void Take(int value, uint32_t& field)
{
    if (value >= 0)
        field = static_cast<uint32_t>(value);
}

}  // namespace

const QualityPreset& Preset(int index)
{
    return kPresets[(index >= 0 && index < kPresetCount) ? index : kPresetCount - 1];
}

uint32_t AdjustHeightForStandard(uint32_t height, uint32_t standard)
{
    static const uint32_t pairs[][2] = {{112, 144}, {240, 288}, {480, 576}};
    const int column = standard == kStandard525 ? 0 : 1;
    for (const auto& pair : pairs) {
        if (height == pair[0] || height == pair[1])
            return pair[column];
    }
    return standard == kStandard525 ? 480 : 576;
}

uint32_t DvdPeakBitRate(uint32_t bitRate, bool forceCbr, std::optional<uint32_t> deviceMax)
{
    if (forceCbr)
        return bitRate;
    const uint64_t peak = static_cast<uint64_t>(bitRate) * 3 / 2;
    const uint64_t capped = deviceMax ? std::min<uint64_t>(peak, *deviceMax) : peak;
    return static_cast<uint32_t>(std::min<uint64_t>(capped, UINT32_MAX));
}

uint32_t StandardFromTvFormat(long tvFormat)
{
    return (tvFormat & kStandards525Mask) != 0 ? kStandard525 : kStandard625;
}

uint32_t CodecApiPeak(uint32_t bitRate, uint32_t peak)
{
    return peak > bitRate ? peak : bitRate + 400000;
}

uint32_t SelectedCaptureMode(const settings::CaptureSettings& s)
{
    if (s.setupMode == 3) {
        const int stored = s.custom.captureMode;
        const uint32_t mode = stored >= 1 && stored <= 4 ? static_cast<uint32_t>(stored) : kModeMpeg2;
        if (mode == kModeSvcd && !s.svcdControl)
            return kModeMpeg2;
        if (mode == kModeVcd && !s.vcdControl)
            return kModeMpeg1;
        return mode;
    }
    if (s.capture == 1)
        return s.qualityMpeg1 == 0 && s.vcdControl ? kModeVcd : kModeMpeg1;
    return s.qualityMpeg2 == 0 && s.svcdControl ? kModeSvcd : kModeMpeg2;
}

namespace {

// A codec-API encoder only ever runs in MPEG-2: the MPEG-1 picture sizes and rates would
// reach it under a mode it cannot switch to, and the MPEG-1 layout would then wait for a
// stream that never comes. Its MPEG-1 selections record at the DVD quality; a custom
// template keeps its own values.
settings::CaptureSettings ForCodecApi(const settings::CaptureSettings& s)
{
    settings::CaptureSettings mpeg2 = s;
    if (s.setupMode != 3 && s.capture == 1) {
        mpeg2.capture = 2;
        mpeg2.qualityMpeg2 = 1;
    }
    return mpeg2;
}

}  // namespace

DerivedEncoderSetup DeriveEncoderParams(const settings::CaptureSettings& selected, const DeviceFacts& device)
{
    const bool codecApi = device.deviceType == kDeviceTypeCodecApi;
    const settings::CaptureSettings s = codecApi ? ForCodecApi(selected) : selected;
    DerivedEncoderSetup out;
    out.custom = s.custom;
    out.params = device.current;
    out.pair.mode = SelectedCaptureMode(s);
    if (codecApi && IsMpeg1(out.pair.mode))
        out.pair.mode = kModeMpeg2;
    out.pair.standard = device.standard;
    EncoderParams& p = out.params;

    if (s.setupMode == 3) {
        const settings::CustomTemplate& t = s.custom;
        out.custom.captureStandard = static_cast<int>(device.standard);
        Take(t.horzResolution, p.HorzResolution);
        if (t.vertResolution >= 0)
            p.VertResolution = AdjustHeightForStandard(static_cast<uint32_t>(t.vertResolution), device.standard);
        Take(t.bitRate, p.BitRate);
        Take(t.iFrameDist, p.IFrameDist);
        Take(t.pFrameDist, p.PFrameDist);
        Take(t.vbr, p.bVBR);
        Take(t.peakBitRate, p.dwPeakBitRate);
        Take(t.audioType, p.AudioType);
        Take(t.audSamplingFreq, p.ulAudSamplingFreq);
        Take(t.audioMpegBitRate, p.ulAudioMpegBitRate);
        Take(t.pullDown32, p.PullDown32);
    } else if (s.capture == 1) {
        const int q = s.qualityMpeg1;
        FillPreset(q >= 0 && q <= 2 ? q : 4, device, p);
        p.bVBR = 0;
        if (q == 0)
            p.BitRate = kVcdBitRate;
        else if (q == 1)
            p.BitRate = static_cast<uint32_t>(s.emailBitrate);
        else if (q == 2)
            p.BitRate = static_cast<uint32_t>(s.normalBitrate);
    } else {
        if (s.qualityMpeg2 == 0) {
            FillPreset(3, device, p);
            p.BitRate = static_cast<uint32_t>(s.svcdBitrate);
            p.dwPeakBitRate = p.BitRate;
        } else {
            FillPreset(4, device, p);
            p.BitRate = static_cast<uint32_t>(s.dvdBitrate);
            p.dwPeakBitRate = DvdPeakBitRate(p.BitRate, s.forceCbr, device.maxBitRate);
        }
        const bool vbrForced = !device.capabilityFlags || (*device.capabilityFlags & kFlagVbrForced) != 0;
        p.bVBR = vbrForced ? 1 : device.current.bVBR;
    }
    // Without a stream output the audio goes through the software MPEG compressor.
    if (device.deviceType == kDeviceTypeElementary)
        p.AudioType = 0;
    out.pcmAudio = p.AudioType == 1;
    return out;
}

}  // namespace encoder
