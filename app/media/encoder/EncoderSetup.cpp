#include "EncoderSetup.h"

namespace encoder {

DeviceFacts ReadDeviceFacts(EncoderDevice& device, const settings::CaptureSettings& s, uint32_t standard,
                            bool audioCompressorFallback)
{
    DeviceFacts d;
    d.deviceType = device.DeviceType();
    d.standard = standard;
    d.audioCompressorFallback = audioCompressorFallback;
    device.GetEncoderParams(d.current);
    uint32_t minimum = 0, maximum = 0;
    if (SUCCEEDED(device.GetBitRateRange(minimum, maximum)))
        d.maxBitRate = maximum;
    uint32_t words[kCapabilityWords];
    if (device.DeviceType() != kDeviceTypeCodecApi &&
        SUCCEEDED(device.GetCapabilities(ModeAndStandard{SelectedCaptureMode(s), standard}, words)))
        d.capabilityFlags = words[kCapFlags];
    return d;
}

DerivedEncoderSetup DeriveForDevice(EncoderDevice& device, const settings::CaptureSettings& s, uint32_t standard,
                                    bool audioCompressorFallback)
{
    return DeriveEncoderParams(s, ReadDeviceFacts(device, s, standard, audioCompressorFallback));
}

bool AudioRendererClocksGraph(EncoderDevice& device)
{
    ModeAndStandard pair;
    uint32_t words[kCapabilityWords];
    return SUCCEEDED(device.GetModeAndStandard(pair)) && SUCCEEDED(device.GetCapabilities(pair, words)) &&
           (words[kCapFlags] & kFlagAudioClock) != 0;
}

}  // namespace encoder
