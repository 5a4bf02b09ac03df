#pragma once
// The analog video standards a tuner can be set to, as the bit values of DirectShow's
// AnalogVideoStandard enumeration, with the names shown to the user.
#include <cstdint>
#include <optional>
#include <span>

namespace tuner {

struct VideoStandardRow {
    std::uint32_t value;
    const char* name;
};

// The 20 rows in display order; there is deliberately no row for PAL G.
std::span<const VideoStandardRow> VideoStandards();

// The name of a standard value, or null when the table has no such row.
const char* VideoStandardName(std::uint32_t value);

// The lowest set bit of a tuner's supported-standards mask; nothing for an empty mask.
std::optional<std::uint32_t> LowestSupportedStandard(std::uint32_t supportedMask);

}  // namespace tuner
