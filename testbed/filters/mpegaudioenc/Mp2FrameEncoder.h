#pragma once
// MPEG-1 Layer II encoding of 16-bit PCM: a 32-band polyphase analysis filterbank, one scale
// factor per subband and frame, and a bit allocation that spends the frame's bits where the
// subbands are loudest. No psychoacoustic model: the test bed needs decodable sound that
// follows its input, not transparency.
#include <cstdint>
#include <vector>

namespace mpegaudio {

constexpr int kSamplesPerFrame = 1152;
constexpr int kSubbands = 32;

struct Mp2Format {
    uint32_t sampleRate = 48000;  // 32000, 44100 or 48000
    uint32_t channels = 2;        // 1 or 2 (2 is coded as plain stereo)
    uint32_t kbps = 224;
};

// Whether Layer II can carry the format: an MPEG-1 rate, one or two channels, and a bit rate
// of the Layer II table that the channel mode allows.
bool IsValidFormat(const Mp2Format& f);
// Bytes of a frame without its padding byte.
uint32_t FrameBytes(const Mp2Format& f);

class Mp2FrameEncoder {
public:
    // `format` must pass IsValidFormat.
    explicit Mp2FrameEncoder(const Mp2Format& format);

    // Appends one frame made of kSamplesPerFrame sample frames of interleaved PCM.
    void encode(const int16_t* pcm, std::vector<uint8_t>& out);

    const Mp2Format& format() const { return format_; }

private:
    struct Band {
        int scaleIndex = 62;
        int allocation = 0;  // index into the subband's class list; 0: not sent
    };

    void analyse(const int16_t* pcm);
    void allocate(int availableBits);
    void write(std::vector<uint8_t>& out, bool padding);

    Mp2Format format_;
    int bitRateIndex_ = 0;
    int frequencyIndex_ = 0;
    int table_ = 0;  // 0: the long allocation table, 1: the short one
    int sbLimit_ = 0;
    uint32_t frameBytes_ = 0;
    uint32_t paddingRemainder_ = 0;
    uint32_t paddingAccumulator_ = 0;
    // Per channel: the last 512 input samples (newest first) and 36 samples per subband.
    std::vector<double> history_[2];
    double subband_[2][36][kSubbands] = {};
    Band bands_[2][kSubbands];
};

}  // namespace mpegaudio
