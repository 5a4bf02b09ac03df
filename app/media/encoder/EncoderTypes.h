#pragma once
// The hardware encoder's vocabulary: the parameter block the driver keeps, the mode and
// standard it encodes in, the capability block words the program reads, the property sets
// that carry them, and the quality presets.
#include <windows.h>

#include <cstdint>

namespace encoder {

// Eleven 32-bit words in driver order; drivers that know only the first ten take 40 bytes.
struct EncoderParams {
    uint32_t HorzResolution = 0;
    uint32_t VertResolution = 0;
    uint32_t BitRate = 0;
    uint32_t IFrameDist = 0;
    uint32_t PFrameDist = 0;
    uint32_t bVBR = 0;
    uint32_t dwPeakBitRate = 0;
    uint32_t AudioType = 0;  // 1 = PCM (private stream 1), otherwise MPEG-1 layer II
    uint32_t ulAudSamplingFreq = 0;
    uint32_t ulAudioMpegBitRate = 0;  // kbit/s
    uint32_t PullDown32 = 0;
};
static_assert(sizeof(EncoderParams) == 44, "the driver's parameter block is 44 bytes");
constexpr DWORD kParamsBytes = 44;
constexpr DWORD kOlderParamsBytes = 40;

enum CaptureMode : uint32_t { kModeMpeg1 = 1, kModeMpeg2 = 2, kModeVcd = 3, kModeSvcd = 4 };
enum CaptureStandard : uint32_t { kStandard525 = 0, kStandard625 = 1 };

// What the encoder encodes in: sent to the driver ahead of the parameter block.
struct ModeAndStandard {
    uint32_t mode = kModeMpeg2;
    uint32_t standard = kStandard625;
};

inline bool IsMpeg1(uint32_t mode) { return mode == kModeMpeg1 || mode == kModeVcd; }

// The capability block (property 0): 84 words; the caller fills words 0 and 1.
constexpr DWORD kCapabilityBytes = 336;
constexpr int kCapabilityWords = kCapabilityBytes / 4;
constexpr int kCapMode = 0;
constexpr int kCapStandard = 1;
constexpr int kCapMinBitRate = 2;
constexpr int kCapMaxBitRate = 3;
constexpr int kCapMaxAverageBitRate = 5;
constexpr int kCapFlags = 83;
constexpr uint32_t kFlagVbrForced = 0x4;
constexpr uint32_t kFlagAudioClock = 0x10;  // the audio renderer clocks the graph when audio plays

// Encoder property set: 0 capabilities (get), 1 mode and standard (get; set sends them ahead
// of the block), 2 parameter block (get and set).
inline constexpr GUID kEncoderPropertySet = {0xC7486006, 0x6674, 0x4542, {0x9E, 0x3C, 0xA9, 0x35, 0xB9, 0x8C, 0x37, 0xB3}};
constexpr DWORD kPropCapabilities = 0;
constexpr DWORD kPropModeAndStandard = 1;
constexpr DWORD kPropParams = 2;

// Event set: properties 0..3 register {handle, enable} for the four device events.
inline constexpr GUID kEventPropertySet = {0xE74583E7, 0xE8D8, 0x4869, {0x98, 0xD0, 0x45, 0x3F, 0x64, 0x7D, 0x16, 0x37}};
constexpr DWORD kEventFlowStopped = 0;
constexpr DWORD kEventCopyProtectionOn = 1;
constexpr DWORD kEventCopyProtectionOff = 2;
constexpr DWORD kEventFramesDropped = 3;

// The codec API's encoder parameters, used as property sets (property 0, 4 bytes) on the
// stream filter of a codec-API device.
inline constexpr GUID kEncApiBitRateMode = {0xEE5FB25C, 0xC713, 0x40D1, {0x9D, 0x58, 0xC0, 0xD7, 0x24, 0x1E, 0x25, 0x0F}};
inline constexpr GUID kEncApiBitRate = {0x49CC4C43, 0xCA83, 0x4AD4, {0xA9, 0xAF, 0xF3, 0x69, 0x6A, 0xF6, 0x66, 0xDF}};
inline constexpr GUID kEncApiPeakBitRate = {0x703F16A9, 0x3D48, 0x44A1, {0xB0, 0x77, 0x01, 0x8D, 0xFF, 0x91, 0x5D, 0x19}};

// The device type whose encoder is reached through the codec API instead of the encoder set,
// and the type whose encoder has no stream output (audio is compressed in software).
constexpr int kDeviceTypeElementary = 2;
constexpr int kDeviceTypeCodecApi = 4;

struct QualityPreset {
    uint32_t width;
    uint32_t height525;
    uint32_t height625;
    uint32_t samplingFreq;
    uint32_t audioKbps;
};
constexpr int kPresetCount = 5;
const QualityPreset& Preset(int index);

// Main-window message and timer the device event thread uses.
constexpr UINT kMsgFramesDropped = 1041;
constexpr UINT_PTR kTimerCopyProtection = 10001;

}  // namespace encoder
