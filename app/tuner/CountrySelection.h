#pragma once
// The choice of country and video standard when the tuner is set up: a first start picks the
// country of the system language, a stored country is put back on the tuner, and a country
// the tuner refuses falls back to the system language's country, then to the lowest
// standard the tuner supports.
#include <cstdint>
#include <optional>

#include "TunerSettings.h"

namespace tuner {

// What the choice needs of the tuner.
class CountryTuner {
public:
    virtual ~CountryTuner() = default;
    // The tuner's supported-standards mask in TV mode; nothing when it cannot be read.
    virtual std::optional<std::uint32_t> SupportedStandards() = 0;
    // Puts a country code on the tuner; true when the tuner accepted it.
    virtual bool SetCountry(std::int32_t code) = 0;
    // Sets the video standard on tuner and decoder; true on success.
    virtual bool SetVideoStandard(std::uint32_t value) = 0;
};

// Updates settings.country and settings.videoStandard. A stored standard the tuner
// supports is kept: the country's default applies only when the country itself changes.
void SelectCountryAndStandard(CountryTuner& tuner, TunerSettings& settings,
                              std::uint32_t systemLanguageId);

}  // namespace tuner
