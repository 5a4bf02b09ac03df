#include "StreamConfig.h"

namespace vcap {

int Mp2BitRateIndex(uint32_t kbps)
{
    // Stereo Layer II: 32, 48, 56 and 80 kbit/s are single-channel rates only.
    static const uint32_t rates[15] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
    for (int i = 1; i < 15; ++i) {
        if (rates[i] == kbps)
            return (kbps == 32 || kbps == 48 || kbps == 56 || kbps == 80) ? 0 : i;
    }
    return 0;
}

std::string Validate(const StreamConfig& c)
{
    if (c.captureMode < 1 || c.captureMode > 4)
        return "capture mode must be 1 to 4";
    if (c.width < 32 || c.width > 720 || c.width % 2 != 0)
        return "width must be even and 32 to 720";
    if (c.height < 32 || c.height > 576 || c.height % 2 != 0)
        return "height must be even and 32 to 576";
    if (c.videoBitRate < 100000 || c.videoBitRate > 15000000)
        return "video bit rate must be 100000 to 15000000";
    if (c.gopLength < 1 || c.gopLength > 60)
        return "group length must be 1 to 60";
    if (c.audioSampleRate != 32000 && c.audioSampleRate != 44100 && c.audioSampleRate != 48000)
        return "audio sampling rate must be 32000, 44100 or 48000";
    if (c.audioType != 1 && Mp2BitRateIndex(c.audioKbps) == 0)
        return "audio bit rate is not a stereo Layer II rate";
    return {};
}

uint32_t AudioBitRate(const StreamConfig& c)
{
    return c.audioType == 1 ? c.audioSampleRate * 32u : c.audioKbps * 1000u;
}

}  // namespace vcap
