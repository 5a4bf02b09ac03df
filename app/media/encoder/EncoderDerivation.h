#pragma once
// How the user's quality selection becomes the encoder's mode, standard and parameter block.
// Pure rules: the caller reads the device's facts first and hands them in.
#include "EncoderTypes.h"

#include "CaptureSettings.h"

#include <optional>

namespace encoder {

// What the device says before the selection is applied.
struct DeviceFacts {
    int deviceType = 1;
    // The block the device holds now: every field the selection does not name keeps its value.
    EncoderParams current;
    uint32_t standard = kStandard625;  // the input's line family (0 525-line, 1 625-line)
    std::optional<uint32_t> maxBitRate;        // GetBitRateRange's maximum, when it could be read
    std::optional<uint32_t> capabilityFlags;   // word 83 for the selected mode, when it could be read
    bool audioCompressorFallback = false;      // the software compressor only took 32000 Hz
};

struct DerivedEncoderSetup {
    ModeAndStandard pair;
    EncoderParams params;
    bool pcmAudio = false;               // the demultiplexer maps PCM from private stream 1
    settings::CustomTemplate custom;     // the template with the standard written back
};

// The mode the selection asks for (custom template fallbacks, VCD/SVCD controls applied); the
// caller reads the capability flags for it before deriving.
uint32_t SelectedCaptureMode(const settings::CaptureSettings& s);

DerivedEncoderSetup DeriveEncoderParams(const settings::CaptureSettings& s, const DeviceFacts& device);

// 112/144, 240/288, 480/576: the first of a pair for 525-line, the second for 625-line; any
// other height becomes 480 or 576.
uint32_t AdjustHeightForStandard(uint32_t height, uint32_t standard);

// The DVD peak: the bit rate itself when CBR is forced, else 1.5 x the rate capped by the
// device maximum (uncapped when the maximum is unknown).
uint32_t DvdPeakBitRate(uint32_t bitRate, bool forceCbr, std::optional<uint32_t> deviceMax);

// AnalogVideoStandard bits of the 525-line family (NTSC M, NTSC M J, NTSC 4.43, PAL M, PAL 60).
constexpr long kStandards525Mask = 0xA07;
uint32_t StandardFromTvFormat(long tvFormat);

// A codec-API encoder needs a peak above the rate: one not above it becomes rate + 400000.
uint32_t CodecApiPeak(uint32_t bitRate, uint32_t peak);

}  // namespace encoder
