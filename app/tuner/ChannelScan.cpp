#include "ChannelScan.h"

#include <cstdio>

namespace tuner {

std::string ScanChannelName(int number)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, number >= 0 && number < 10 ? "%02d" : "%d", number);
    char text[32];
    std::snprintf(text, sizeof text, "Channel %3s", digits);
    return text;
}

ScanResult ScanChannels(ChannelList& list, const ChannelRange& range, const ScanProbe& probe)
{
    ScanResult result;
    for (int channel = range.ListMinimum(); channel <= range.ListMaximum(); ++channel) {
        if (probe.cancelled && probe.cancelled()) {
            result.cancelled = true;
            break;
        }
        const std::optional<bool> signal = probe.probe(channel);
        if (!signal) {
            result.cancelled = true;
            break;
        }
        ChannelEntry& entry = list[static_cast<std::size_t>(channel)];
        entry.frequency = 0;
        entry.fineTune = 0;
        if (*signal) {
            if (entry.name.empty())
                entry.name = ScanChannelName(channel);
            ++result.found;
        } else {
            entry.name.clear();
        }
        ++result.probed;
        if (probe.progress)
            probe.progress(channel, *signal);
    }
    return result;
}

}  // namespace tuner
