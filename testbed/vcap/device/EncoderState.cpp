#include "EncoderState.h"

#include "DeviceModel.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace vcap {

EncoderState DefaultEncoderState()
{
    EncoderState s;
    s.params = {720, 576, 6000000, 15, 3, 0, 6600000, 0, 48000, 224, 0};
    return s;
}

BitRateLimits LimitsForMode(uint32_t mode)
{
    switch (mode) {
    case 1: return {100000, 6000000, 5000000};
    case 3: return {1150000, 1150000, 1150000};
    case 4: return {1000000, 2600000, 2520000};
    default: return {2000000, 9000000, 8000000};
    }
}

void FillCapabilities(uint32_t mode, uint32_t standard, uint32_t deviceType, uint32_t words[kCapabilityWords])
{
    std::memset(words, 0, kCapabilityBytes);
    mode = std::clamp(mode, 1u, 4u);
    standard = std::min(standard, 1u);
    const BitRateLimits l = LimitsForMode(mode);
    words[0] = mode;
    words[1] = standard;
    words[2] = l.minimum;
    words[3] = l.maximum;
    words[4] = 720;
    words[5] = l.maxAverage;
    words[6] = standard == 0 ? 480 : 576;
    words[12] = deviceType == 1 ? 1 : 0;
    words[83] = 0;  // variable bit rate is not forced; the graph clock is the device's
}

bool IsModeAndStandard(uint32_t mode, uint32_t standard)
{
    return mode >= 1 && mode <= 4 && standard <= 1;
}

std::string CheckParams(const EncoderParams& p, uint32_t mode)
{
    const BitRateLimits l = LimitsForMode(mode);
    if (p.bitRate < l.minimum || p.bitRate > l.maximum)
        return "bit rate outside the mode's range";
    EncoderState s;
    s.captureMode = mode;
    s.params = p;
    return Validate(MakeStreamConfig(s));
}

StreamConfig MakeStreamConfig(const EncoderState& s)
{
    StreamConfig c;
    c.captureMode = s.captureMode;
    c.lines525 = s.captureStandard == 0;
    c.width = s.params.horzResolution;
    c.height = s.params.vertResolution;
    c.videoBitRate = s.params.bitRate;
    c.peakBitRate = s.params.vbr ? s.params.peakBitRate : 0;
    c.gopLength = s.params.iFrameDist == 0 ? 15 : s.params.iFrameDist;
    c.audioType = s.params.audioType == 1 ? 1 : 0;
    c.audioSampleRate = s.params.audSamplingFreq;
    c.audioKbps = s.params.audioMpegBitRate;
    c.standardName = c.lines525 ? "NTSC M" : "PAL B";
    return c;
}

bool SetCodecRateMode(EncoderState& s, uint32_t mode)
{
    if (mode > kCodecVariablePeak)
        return false;
    s.params.vbr = mode;
    return true;
}

bool SetCodecBitRate(EncoderState& s, uint32_t bitsPerSecond)
{
    if (bitsPerSecond < kCodecMinBitRate || bitsPerSecond > kCodecMaxBitRate)
        return false;
    s.params.bitRate = bitsPerSecond;
    s.params.peakBitRate = std::max(s.params.peakBitRate, bitsPerSecond);
    return true;
}

uint32_t SetCodecPeakBitRate(EncoderState& s, uint32_t bitsPerSecond)
{
    s.params.peakBitRate = std::clamp(bitsPerSecond, std::min(s.params.bitRate, kCodecMaxPeakBitRate), kCodecMaxPeakBitRate);
    return s.params.peakBitRate;
}

namespace {

std::wstring StateKey(int card) { return std::wstring(kCardsKey) + L"\\" + std::to_wstring(card); }

}  // namespace

bool LoadEncoderState(int card, EncoderState& s)
{
    s = DefaultEncoderState();
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, StateKey(card).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    DWORD pair[2] = {};
    DWORD size = sizeof pair;
    if (RegQueryValueExW(k, L"ModeAndStandard", nullptr, nullptr, reinterpret_cast<BYTE*>(pair), &size) == ERROR_SUCCESS &&
        size == sizeof pair) {
        s.captureMode = pair[0];
        s.captureStandard = pair[1];
    }
    EncoderParams p{};
    size = sizeof p;
    if (RegQueryValueExW(k, L"EncoderParams", nullptr, nullptr, reinterpret_cast<BYTE*>(&p), &size) == ERROR_SUCCESS &&
        size == sizeof p)
        s.params = p;
    RegCloseKey(k);
    return true;
}

bool SaveEncoderState(int card, const EncoderState& s)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, StateKey(card).c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS)
        return false;
    const DWORD pair[2] = {s.captureMode, s.captureStandard};
    bool ok = RegSetValueExW(k, L"ModeAndStandard", 0, REG_BINARY, reinterpret_cast<const BYTE*>(pair), sizeof pair) == ERROR_SUCCESS &&
              RegSetValueExW(k, L"EncoderParams", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&s.params), sizeof s.params) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
}

}  // namespace vcap
