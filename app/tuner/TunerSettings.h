#pragma once
// The tuner's persistent state: input type, country, video standard, last channel and the
// cable and antenna channel lists, indexed by channel number.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace tuner {

constexpr int kChannelCount = 200;
constexpr int kHighestListChannel = kChannelCount - 1;
constexpr int kFineTuneMin = -50;
constexpr int kFineTuneMax = 50;

constexpr int kInputCable = 0;
constexpr int kInputAntenna = 1;

inline int ClampFineTune(int fine)
{
    return std::clamp(fine, kFineTuneMin, kFineTuneMax);
}

struct ChannelEntry {
    int number = 0;
    int fineTune = 0;           // tuner granularity steps, kFineTuneMin..kFineTuneMax
    std::string name;           // empty: no channel here
    std::uint32_t frequency = 0;  // base video frequency in Hz; 0 until tuned in this run
};

using ChannelList = std::array<ChannelEntry, kChannelCount>;

// A list of unnamed entries, each numbered by its index.
ChannelList EmptyChannelList();

// The channel numbers the tuner accepts: 2..69 until it reports its own range.
struct ChannelRange {
    int minimum = 2;
    int maximum = 69;

    // Tuners may report channels beyond the lists; only these index them.
    int ListMinimum() const { return std::max(minimum, 0); }
    int ListMaximum() const { return std::min(maximum, kHighestListChannel); }
};

struct TunerSettings {
    int inputType = kInputAntenna;
    std::string country;  // a country row's name; empty until chosen
    std::uint32_t videoStandard = 0x00000001;
    int lastChannel = 2;
    int currentFineTune = 0;
    std::string currentName;
    std::uint32_t currentFrequency = 0;
    ChannelList antenna = EmptyChannelList();
    ChannelList cable = EmptyChannelList();

    ChannelList& CurrentList() { return inputType != kInputCable ? antenna : cable; }
    const ChannelList& CurrentList() const
    {
        return inputType != kInputCable ? antenna : cable;
    }
    // Copies the last channel's entry into the current-channel fields.
    void CopyCurrentChannel();
};

}  // namespace tuner
