#pragma once
// The channel scan: every channel of the tuner's range is tuned in turn and named when it
// carries a signal. A cancelled scan leaves the channels it has not reached as they were.
#include <functional>
#include <optional>
#include <string>

#include "TunerSettings.h"

namespace tuner {

// The name a scan gives a channel found with a signal: "Channel " and the number right-aligned
// in three characters, one-digit numbers padded to two digits ("Channel  05", "Channel  12",
// "Channel 123").
std::string ScanChannelName(int number);

struct ScanProbe {
    // Tunes a channel and answers whether it carries a signal; nothing when the user
    // cancelled while it was being probed.
    std::function<std::optional<bool>(int channel)> probe;
    // Before each channel is probed; true when the user has cancelled.
    std::function<bool()> cancelled;
    // After each probed channel: the channel and whether it was found.
    std::function<void(int channel, bool found)> progress;
};

struct ScanResult {
    int probed = 0;     // channels whose probe completed
    int found = 0;      // of those, with a signal
    bool cancelled = false;
};

// Scans the range's channels (within the list) into `list`. Each probed channel loses its
// frequency and fine tune; found channels keep a name they have and get one otherwise; the
// others lose their name. Channels not probed keep everything.
ScanResult ScanChannels(ChannelList& list, const ChannelRange& range, const ScanProbe& probe);

}  // namespace tuner
