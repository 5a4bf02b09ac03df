#include "RecentDetails.h"

#include <algorithm>
#include <cstdio>

namespace recording {

std::string RateText(int value, int divisor, const char* unit)
{
    const int v = std::max(value, 0);
    char text[48];
    std::snprintf(text, sizeof text, "%d.%d%d %s", v / divisor, (v % divisor) / (divisor / 10),
                  (v % (divisor / 10)) / (divisor / 100), unit);
    return text;
}

AppliedFormat AppliedFormat::FromTemplate(const settings::CustomTemplate& block)
{
    return {block.captureMode,       block.horzResolution, block.vertResolution, block.vbr == 1,
            block.bitRate,           block.audSamplingFreq, block.audioMpegBitRate};
}

std::string VideoBitRateText(int bitRate)
{
    return bitRate < 100000 ? RateText(bitRate, 1000, "Kbps") : RateText(bitRate, 1000000, "Mbps");
}

std::string SamplingRateText(int hertz)
{
    const int hz = std::max(hertz, 0);
    char text[48];
    std::snprintf(text, sizeof text, "%d.%d KHz", hz / 1000, (hz % 1000) / 100);
    return text;
}

std::string AudioBitRateText(int kbps)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d Kbps", kbps == 0 ? 384 : std::max(kbps, 0));
    return text;
}

settings::RecentEntry RecentEntryFor(const std::string& path, const AppliedFormat& format,
                                     const std::string& duration)
{
    settings::RecentEntry entry;
    entry.path = path;
    entry.streamFormat = settings::StreamFormatText(format.captureMode);
    char resolution[32];
    std::snprintf(resolution, sizeof resolution, "%dx%d", format.width, format.height);
    entry.resolution = resolution;
    entry.vbr = format.variableBitRate ? "Variable" : "Constant";
    entry.videoBitrate = VideoBitRateText(format.bitRate);
    entry.samplingRate = SamplingRateText(format.samplingFrequency);
    entry.audioBitrate = AudioBitRateText(format.audioBitRate);
    entry.duration = duration;
    return entry;
}

}  // namespace recording
