#pragma once
// The card's analog TV tuner as plain logic: country channel plans, channel frequencies, and
// what the PLL reports after a tune. A tuned channel that carries a station locks with PLL
// offset 0; a channel without one (or a frequency far from any station) reports -2 or +2, as
// the tuner's AFC sees only noise. Time is passed in, so tests can step it.
#include <cstdint>
#include <set>

namespace vcap {

constexpr long kTunerGranularityHz = 62500;  // one PLL step
constexpr long kTunerMinHz = 44000000;
constexpr long kTunerMaxHz = 958000000;
constexpr uint32_t kTunerSettleMs = 120;  // the PLL is busy this long after a frequency change
constexpr long kTunerStandards = 0x1 | 0x2 | 0x10 | 0x20 | 0x80 | 0x200 | 0x400 | 0x1000 | 0x8000 | 0x10000 | 0x40000;

enum class ChannelPlan { UsBroadcast, JapanBroadcast, EuropeBroadcast, UkBroadcast };

struct CountryInfo {
    long code;          // international dialling code, as IAMTVTuner takes it
    ChannelPlan plan;
    long minChannel, maxChannel;
    long standard;      // the country's default AnalogVideoStandard
};

// The countries this tuner knows; false for any other code.
bool FindCountry(long code, CountryInfo& info);
// Video carrier of a channel in Hz, or 0 when the plan has no such channel.
long ChannelFrequency(ChannelPlan plan, long channel);

struct TunerStatus {
    long frequency;  // Hz
    long pllOffset;  // -2..+2 in PLL steps: 0 exactly on a station, +-2 nothing to lock to
    bool busy;
};

class TunerModel {
public:
    explicit TunerModel(long countryCode = 1);

    bool SetCountry(long code);
    long Country() const { return country_.code; }
    const CountryInfo& CountryRow() const { return country_; }

    // Tunes a channel of the country's plan; false outside its range.
    bool TuneChannel(long channel, uint32_t nowMs);
    // Tunes a frequency (fine tuning); false outside the tuner's band.
    bool TuneFrequency(long hz, uint32_t nowMs);
    long Channel() const { return channel_; }
    long Frequency() const { return frequency_; }

    // `stations` holds the channels (of the current plan) that carry a signal.
    TunerStatus Status(uint32_t nowMs, const std::set<long>& stations) const;
    // Whether the tuner delivers a picture the decoder can lock to.
    bool HasSignal(uint32_t nowMs, const std::set<long>& stations) const;

    // Restores a state kept with the card (the tuner is hardware shared by every filter).
    void Restore(long countryCode, long channel, long frequency, uint32_t tunedAtMs);
    uint32_t TunedAt() const { return tunedAt_; }

private:
    CountryInfo country_{};
    long channel_ = 0;
    long frequency_ = 0;
    uint32_t tunedAt_ = 0;
};

// The TV sound decoder behind the tuner: AMTVAUDIO mode bits (0x01 mono, 0x02 stereo,
// 0x10/0x20/0x40 language A/B/C). A mode names at most one of mono and stereo and at most one
// language. Stations broadcast stereo with a second language; without one only mono is there.
constexpr long kTvAudioHardwareModes = 0x01 | 0x02 | 0x10 | 0x20 | 0x40;
constexpr long kTvAudioDefaultMode = 0x02 | 0x10;
bool IsValidTvAudioMode(long mode);
long AvailableTvAudioModes(bool station);

}  // namespace vcap
