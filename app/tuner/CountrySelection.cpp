#include "CountrySelection.h"

#include "Countries.h"
#include "VideoStandards.h"

namespace tuner {

namespace {

class Chooser {
public:
    Chooser(CountryTuner& tuner, TunerSettings& settings)
        : tuner_(tuner), settings_(settings), mask_(tuner.SupportedStandards())
    {
    }

    bool Supported(std::uint32_t standard) const
    {
        return mask_ && standard != 0 && (*mask_ & standard) == standard;
    }

    bool TryCountry(const CountryRow& row)
    {
        settings_.country = row.name;
        return tuner_.SetCountry(row.code);
    }

    // A standard the tuner rejects gives way to the lowest one it supports.
    void ApplyStandard(std::uint32_t standard)
    {
        settings_.videoStandard = standard;
        if (!tuner_.SetVideoStandard(standard))
            ApplyLowest();
    }

    std::optional<std::uint32_t> ApplyLowest()
    {
        const std::optional<std::uint32_t> lowest =
            mask_ ? LowestSupportedStandard(*mask_) : std::nullopt;
        if (lowest) {
            settings_.videoStandard = *lowest;
            tuner_.SetVideoStandard(*lowest);
        }
        return lowest;
    }

    void FirstStart(std::uint32_t languageId)
    {
        if (!mask_)
            return;
        for (const CountryRow& row : Countries()) {
            if (row.languageId == languageId && TryCountry(row)) {
                ApplyStandard(row.standard);
                return;
            }
        }
        const std::optional<std::uint32_t> lowest = ApplyLowest();
        if (!lowest)
            return;
        for (const CountryRow& row : Countries()) {
            if (row.standard == *lowest && TryCountry(row))
                return;
        }
    }

    void StoredCountry(std::uint32_t languageId)
    {
        const CountryRow* row = FindCountryByName(settings_.country.c_str());
        if (row == nullptr)
            return;
        if (tuner_.SetCountry(row->code)) {
            ApplyStandard(Supported(settings_.videoStandard) ? settings_.videoStandard
                                                             : row->standard);
            return;
        }
        if (const CountryRow* fallback = FindCountryByLanguage(languageId)) {
            TryCountry(*fallback);
            ApplyStandard(fallback->standard);
            return;
        }
        ApplyLowest();
    }

private:
    CountryTuner& tuner_;
    TunerSettings& settings_;
    std::optional<std::uint32_t> mask_;
};

}  // namespace

void SelectCountryAndStandard(CountryTuner& tuner, TunerSettings& settings,
                              std::uint32_t systemLanguageId)
{
    Chooser chooser(tuner, settings);
    if (settings.country.empty())
        chooser.FirstStart(systemLanguageId);
    else
        chooser.StoredCountry(systemLanguageId);
}

}  // namespace tuner
