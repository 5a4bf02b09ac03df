#include "AudioEncoder.h"

#include "BitWriter.h"
#include "StreamConfig.h"

#include <cmath>

namespace vcap {
namespace {

// Bits of the allocation field per subband, for the four Layer II allocation tables.
constexpr uint8_t kNbalA[30] = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3,
                                3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2};
constexpr uint8_t kNbalC[12] = {4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3};

constexpr int kToneSubband = 1;        // centre near 1 kHz at 44.1 kHz
constexpr int kToneScaleFactor = 12;   // 2^(1 - 12/3) = 1/8 of full scale
constexpr uint32_t kToneGroup = 2 + 3 * 2 + 9 * 2;  // three samples of the top of 3 levels

}  // namespace

Mp2Encoder::Mp2Encoder(uint32_t sampleRate, uint32_t kbps)
    : sampleRate_(sampleRate), kbps_(kbps), bitRateIndex_(Mp2BitRateIndex(kbps))
{
    frequencyIndex_ = sampleRate == 44100 ? 0 : sampleRate == 48000 ? 1 : 2;
    const uint32_t perChannel = kbps / 2;
    // Table choice by sampling rate and bit rate per channel, as decoders expect it.
    if ((sampleRate == 48000 && perChannel >= 56) || (perChannel >= 56 && perChannel <= 80)) {
        nbal_ = kNbalA;
        sbLimit_ = 27;
    } else if (sampleRate != 48000 && perChannel >= 96) {
        nbal_ = kNbalA;
        sbLimit_ = 30;
    } else if (sampleRate != 32000 && perChannel <= 48) {
        nbal_ = kNbalC;
        sbLimit_ = 8;
    } else {
        nbal_ = kNbalC;
        sbLimit_ = 12;
    }
    frameBytes_ = 144000u * kbps / sampleRate;
    remainder_ = 144000u * kbps % sampleRate;
}

void Mp2Encoder::encodeFrame(bool tone, std::vector<uint8_t>& out)
{
    bool padding = false;
    paddingAccumulator_ += remainder_;
    if (paddingAccumulator_ >= sampleRate_) {
        paddingAccumulator_ -= sampleRate_;
        padding = true;
    }
    const size_t start = out.size();
    const size_t length = frameBytes_ + (padding ? 1 : 0);
    BitWriter bw(out);
    bw.put(0xFFF, 12);
    bw.put(1, 1);  // MPEG-1
    bw.put(2, 2);  // Layer II
    bw.put(1, 1);  // no CRC
    bw.put(static_cast<uint32_t>(bitRateIndex_), 4);
    bw.put(static_cast<uint32_t>(frequencyIndex_), 2);
    bw.put(padding ? 1 : 0, 1);
    bw.put(0, 1);  // private
    bw.put(0, 2);  // stereo
    bw.put(0, 2);  // mode extension
    bw.put(0, 1);  // copyright
    bw.put(1, 1);  // original
    bw.put(0, 2);  // no emphasis

    for (int sb = 0; sb < sbLimit_; ++sb) {
        for (int ch = 0; ch < 2; ++ch)
            bw.put(tone && sb == kToneSubband ? 1 : 0, nbal_[sb]);
    }
    if (tone) {
        bw.put(2, 2);  // scfsi: one scale factor for all three parts, left
        bw.put(2, 2);  // right
        bw.put(kToneScaleFactor, 6);
        bw.put(kToneScaleFactor, 6);
        for (int granule = 0; granule < 12; ++granule) {
            bw.put(kToneGroup, 5);
            bw.put(kToneGroup, 5);
        }
    }
    bw.align();
    out.resize(start + length, 0);
}

void LpcmSource::generate(bool tone, uint32_t frames, std::vector<uint8_t>& out)
{
    const double step = 2 * 3.14159265358979 * 1000.0 / sampleRate_;
    for (uint32_t i = 0; i < frames; ++i, ++position_) {
        const int16_t v = tone ? static_cast<int16_t>(std::lround(6000 * std::sin(step * static_cast<double>(position_ % sampleRate_)))) : 0;
        const uint8_t hi = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
        const uint8_t lo = static_cast<uint8_t>(static_cast<uint16_t>(v) & 0xFF);
        out.insert(out.end(), {hi, lo, hi, lo});
    }
}

}  // namespace vcap
