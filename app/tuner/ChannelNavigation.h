#pragma once
// Channel up/down over a channel list and the fine-tune arithmetic.
#include <cstdint>
#include <optional>

#include "TunerSettings.h"

namespace tuner {

// The channel that channel up (step +1) or down (step -1) goes to from current. With named
// channels in the list it moves to the next named channel in the tuner's range, wrapping
// round past either end; when no named channel lies in the range (or none exists), it steps
// by number, wrapping from the maximum to the minimum and back.
int StepChannel(const ChannelList& list, int current, int step, const ChannelRange& range);

// The fine tune after one step of ±1 from position, or nothing when it would leave
// kFineTuneMin..kFineTuneMax (the step is then ignored).
std::optional<int> StepFineTune(int position, int step);

// The frequency to tune for a fine-tuned channel: base + fine × granularity in Hz, kept
// within what the tuner's frequency field can carry.
std::uint32_t FineTunedFrequency(std::uint32_t baseHz, int fineTune, std::uint32_t granularityHz);

}  // namespace tuner
