#pragma once
// The countries a tuner can be set to: the code the tuner takes (the international dialling
// code), the name shown and stored as the "Country" setting, the default video standard and
// the system language that picks the country on a first start (0 for most rows).
#include <cstdint>
#include <span>

namespace tuner {

struct CountryRow {
    std::int32_t code;
    const char* name;
    std::uint32_t standard;
    std::uint32_t languageId;
};

// The 242 rows in display order. Searches run in this order and take the first match.
std::span<const CountryRow> Countries();

// The first row whose name equals the given one exactly (case-sensitive), or null.
const CountryRow* FindCountryByName(const char* name,
                                    std::span<const CountryRow> rows = Countries());

// The first row carrying the system language id, or null; 0 matches nothing.
const CountryRow* FindCountryByLanguage(std::uint32_t languageId,
                                        std::span<const CountryRow> rows = Countries());

}  // namespace tuner
