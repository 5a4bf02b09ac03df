#pragma once
// What the encoder is told to produce: the device's encoder parameters plus the state of the
// analog front end (which input, which standard, whether a signal is present).
#include <cstdint>
#include <string>

namespace vcap {

struct StreamConfig {
    uint32_t captureMode = 2;          // 1 MPEG-1, 2 MPEG-2, 3 VCD MPEG-1, 4 SVCD MPEG-2
    bool lines525 = false;             // 525-line family (29.97 frames/s), else 625-line (25)
    uint32_t width = 720;
    uint32_t height = 576;
    uint32_t videoBitRate = 6000000;   // bits per second of the video elementary stream
    uint32_t peakBitRate = 0;          // variable bit rate: the ceiling the stream announces; 0: constant
    uint32_t gopLength = 15;           // pictures per group of pictures
    uint32_t audioType = 0;            // 1 = 16-bit stereo LPCM in private stream 1, else Layer II
    uint32_t audioSampleRate = 48000;  // Hz
    uint32_t audioKbps = 224;          // Layer II bit rate
    bool signal = true;                // false: the decoder shows blue and the audio is silent
    std::string inputName = "COMPOSITE 1";
    std::string standardName = "PAL B";
};

inline bool IsMpeg2(const StreamConfig& c) { return c.captureMode == 2 || c.captureMode == 4; }

// Frame rate as a ratio: 25/1 or 30000/1001.
inline uint32_t FrameRateNum(const StreamConfig& c) { return c.lines525 ? 30000u : 25u; }
inline uint32_t FrameRateDen(const StreamConfig& c) { return c.lines525 ? 1001u : 1u; }

// Layer II bit rate index for a stereo stream, 0 when the rate is not allowed in stereo.
int Mp2BitRateIndex(uint32_t kbps);

// Empty when the configuration can be encoded, else a short reason.
std::string Validate(const StreamConfig& c);

// Bits per second of the audio elementary stream.
uint32_t AudioBitRate(const StreamConfig& c);

}  // namespace vcap
