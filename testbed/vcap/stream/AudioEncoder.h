#pragma once
// The sound of the generated input: a steady tone while there is a signal, silence without.
// Layer II frames carry the tone in one subband (a real, decodable frame with a handful of
// coded samples); LPCM carries 16-bit big-endian stereo samples of a 1 kHz sine.
#include <cstdint>
#include <vector>

namespace vcap {

constexpr int kMp2SamplesPerFrame = 1152;

class Mp2Encoder {
public:
    // sampleRate: 32000, 44100 or 48000; kbps: a stereo Layer II rate (see Mp2BitRateIndex).
    Mp2Encoder(uint32_t sampleRate, uint32_t kbps);

    // Appends one frame of 1152 stereo samples: the tone, or silence when `tone` is false.
    void encodeFrame(bool tone, std::vector<uint8_t>& out);

    // Bytes of a frame without the padding byte.
    uint32_t frameBytes() const { return frameBytes_; }

private:
    uint32_t sampleRate_;
    uint32_t kbps_;
    int bitRateIndex_;
    int frequencyIndex_;
    const uint8_t* nbal_ = nullptr;  // allocation bits per subband of the selected table
    int sbLimit_ = 0;
    uint32_t frameBytes_ = 0;
    uint32_t remainder_ = 0;  // fractional bytes per frame, in 1/sampleRate units
    uint32_t paddingAccumulator_ = 0;
};

class LpcmSource {
public:
    explicit LpcmSource(uint32_t sampleRate) : sampleRate_(sampleRate) {}

    // Appends `frames` stereo sample frames (4 bytes each, big-endian).
    void generate(bool tone, uint32_t frames, std::vector<uint8_t>& out);

private:
    uint32_t sampleRate_;
    uint64_t position_ = 0;
};

}  // namespace vcap
