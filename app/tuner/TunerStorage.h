#pragma once
// Loading and saving TunerSettings. The four scalars live in section "Tuner"; each list key
// holds a compact array of slots "ChName%d", "ChNum%d", "ChTwkVal%d", only named channels,
// in ascending order, and a slot whose number is not above 0 is empty.
#include "TunerSettings.h"
#include "ValueStore.h"

namespace tuner {

inline constexpr const char* kTunerSection = "Tuner";
inline constexpr const char* kAntennaSection = "Tuner\\Channels\\Antenna";
inline constexpr const char* kCableSection = "Tuner\\Channels\\Cable";

// Replaces the settings with the stored ones; missing scalars are written back with their
// defaults. Stored channel numbers beyond the lists are ignored and fine tunes clamped.
void LoadTunerSettings(ValueStore& store, TunerSettings& settings);

// Writes the scalars and the named channels from the range's minimum up, then blanks every
// leftover slot of an earlier, longer save.
void SaveTunerSettings(ValueStore& store, const TunerSettings& settings,
                       const ChannelRange& range);

}  // namespace tuner
