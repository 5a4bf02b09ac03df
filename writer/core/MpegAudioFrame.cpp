#include "MpegAudioFrame.h"

namespace scrivet {

namespace {

// kbit/s by bit-rate index 1..14.
constexpr uint16_t kMpeg1Layer1[] = {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr uint16_t kMpeg1Layer2[] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr uint16_t kMpeg1Layer3[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr uint16_t kMpeg2Layer1[] = {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr uint16_t kMpeg2Layer23[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr uint32_t kMpeg1Rates[] = {44100, 48000, 32000};

}  // namespace

uint32_t MpegAudioFrameLength(const uint8_t* h)
{
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return 0;
    const int version = (h[1] >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    const int layer = 4 - ((h[1] >> 1) & 3);
    const int rateIndex = h[2] >> 4;
    const int sampleIndex = (h[2] >> 2) & 3;
    if (version == 1 || layer == 4 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3)
        return 0;
    const bool mpeg1 = version == 3;
    const uint16_t* rates = mpeg1 ? (layer == 1 ? kMpeg1Layer1 : layer == 2 ? kMpeg1Layer2 : kMpeg1Layer3)
                                  : (layer == 1 ? kMpeg2Layer1 : kMpeg2Layer23);
    const uint32_t bitRate = rates[rateIndex - 1] * 1000u;
    const uint32_t sampleRate = kMpeg1Rates[sampleIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const uint32_t padding = (h[2] >> 1) & 1;
    if (layer == 1)
        return (12 * bitRate / sampleRate + padding) * 4;
    const uint32_t perSecond = (layer == 3 && !mpeg1) ? 72 : 144;
    return perSecond * bitRate / sampleRate + padding;
}

}  // namespace scrivet
