#pragma once
// The encoder's side of a card: the parameter block the driver keeps, the capability block it
// answers for a mode and standard, and how the block becomes a stream configuration. The
// state lives with the card's record so every filter of the card (and the control tool) sees
// the same encoder, as they would on one piece of hardware.
#include "StreamConfig.h"

#include <cstdint>
#include <string>

namespace vcap {

// Eleven 32-bit words in driver order; the 40-byte form is the first ten.
struct EncoderParams {
    uint32_t horzResolution;
    uint32_t vertResolution;
    uint32_t bitRate;
    uint32_t iFrameDist;
    uint32_t pFrameDist;
    uint32_t vbr;
    uint32_t peakBitRate;
    uint32_t audioType;
    uint32_t audSamplingFreq;
    uint32_t audioMpegBitRate;
    uint32_t pullDown32;
};
static_assert(sizeof(EncoderParams) == 44, "the driver's parameter block is 44 bytes");

constexpr size_t kCapabilityBytes = 336;
constexpr size_t kCapabilityWords = kCapabilityBytes / 4;

struct EncoderState {
    uint32_t captureMode = 2;      // 1..4
    uint32_t captureStandard = 1;  // 0 525-line, 1 625-line
    EncoderParams params{};
};

EncoderState DefaultEncoderState();

struct BitRateLimits {
    uint32_t minimum, maximum, maxAverage;
};
BitRateLimits LimitsForMode(uint32_t mode);

// The capability block for a requested mode and standard (out-of-range requests are brought
// into range; words 0 and 1 say what the device applies). deviceType 1 sets word 12, which
// marks an encoder whose stream filter multiplexes.
void FillCapabilities(uint32_t mode, uint32_t standard, uint32_t deviceType, uint32_t words[kCapabilityWords]);

// Modes 1..4, standards 0 (525-line) and 1 (625-line).
bool IsModeAndStandard(uint32_t mode, uint32_t standard);

// Empty when the device accepts the block in the given mode, else why not.
std::string CheckParams(const EncoderParams& p, uint32_t mode);

StreamConfig MakeStreamConfig(const EncoderState& s);

// The codec-API view of the encoder (device type 4): rate-control mode, average and peak
// video bit rate, kept in the same block (the mode in `vbr`, 0 meaning constant).
enum CodecRateMode : uint32_t { kCodecConstantRate = 0, kCodecVariableAverage = 1, kCodecVariablePeak = 2 };
constexpr uint32_t kCodecMinBitRate = 2000000;
constexpr uint32_t kCodecMaxBitRate = 9000000;
constexpr uint32_t kCodecMaxPeakBitRate = 9800000;

// False (and the state unchanged) for a mode or rate the encoder does not have.
bool SetCodecRateMode(EncoderState& s, uint32_t mode);
// The average rate; a peak below it is raised to it.
bool SetCodecBitRate(EncoderState& s, uint32_t bitsPerSecond);
// The peak is brought into [average, kCodecMaxPeakBitRate]; returns what was applied.
uint32_t SetCodecPeakBitRate(EncoderState& s, uint32_t bitsPerSecond);

bool LoadEncoderState(int card, EncoderState& s);
bool SaveEncoderState(int card, const EncoderState& s);

}  // namespace vcap
