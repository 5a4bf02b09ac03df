#pragma once
// The TV sound mode: what the user chose in the sound dialog (second audio program and its
// language, stereo) and the TV audio filter's mode bits.
#include <cstdint>

namespace tuner {

constexpr long kTvAudioMono = 0x01;
constexpr long kTvAudioStereo = 0x02;
constexpr long kTvAudioLanguageA = 0x10;
constexpr long kTvAudioLanguageB = 0x20;
constexpr long kTvAudioLanguageC = 0x40;

struct TvAudioChoice {
    bool sap = false;             // the second audio program is on
    bool secondLanguage = false;  // with SAP: the second of its two languages
    bool stereo = false;

    bool operator==(const TvAudioChoice&) const = default;
};

// The mode to put on the TV audio filter for a choice.
long TvAudioModeFor(const TvAudioChoice& choice);

// The choice the filter's current mode stands for; parts the mode does not speak of keep
// their value from `previous`.
TvAudioChoice TvAudioChoiceFrom(long mode, const TvAudioChoice& previous);

}  // namespace tuner
