#include "ChannelNavigation.h"

#include <algorithm>
#include <limits>

namespace tuner {

namespace {

int Wrap(int channel, int low, int high)
{
    if (channel > high)
        return low;
    if (channel < low)
        return high;
    return channel;
}

bool HasName(const ChannelList& list, int channel)
{
    return channel >= 0 && channel <= kHighestListChannel && !list[channel].name.empty();
}

}  // namespace

int StepChannel(const ChannelList& list, int current, int step, const ChannelRange& range)
{
    const int low = range.ListMinimum();
    const int high = range.ListMaximum();
    if (low > high || step == 0)
        return current;
    step = step > 0 ? 1 : -1;

    // One full cycle over the range finds any named channel in it (the current one last);
    // a list whose names all lie outside the range falls through to a plain step.
    int channel = current;
    for (int tries = high - low + 1; tries > 0; --tries) {
        channel = Wrap(channel + step, low, high);
        if (HasName(list, channel))
            return channel;
    }
    return Wrap(current + step, low, high);
}

std::optional<int> StepFineTune(int position, int step)
{
    const int next = position + step;
    if (next < kFineTuneMin || next > kFineTuneMax)
        return std::nullopt;
    return next;
}

std::uint32_t FineTunedFrequency(std::uint32_t baseHz, int fineTune, std::uint32_t granularityHz)
{
    const std::int64_t hz = std::int64_t{baseHz} + std::int64_t{fineTune} * granularityHz;
    return static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(hz, 0, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace tuner
