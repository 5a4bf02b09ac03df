#include "VideoStandards.h"

namespace tuner {

namespace {

constexpr VideoStandardRow kRows[] = {
    {0x00000000, "None"},     {0x00000001, "NTSC M"},   {0x00000002, "NTSC M J"},
    {0x00000004, "NTSC 433"}, {0x00000010, "PAL B"},    {0x00000020, "PAL D"},
    {0x00000080, "PAL H"},    {0x00000100, "PAL I"},    {0x00000200, "PAL M"},
    {0x00000400, "PAL N"},    {0x00000800, "PAL 60"},   {0x00001000, "SECAM B"},
    {0x00002000, "SECAM D"},  {0x00004000, "SECAM G"},  {0x00008000, "SECAM H"},
    {0x00010000, "SECAM K"},  {0x00020000, "SECAM K1"}, {0x00040000, "SECAM L"},
    {0x00080000, "SECAM L1"}, {0x00100000, "PAL N COMBO"},
};

}  // namespace

std::span<const VideoStandardRow> VideoStandards()
{
    return kRows;
}

const char* VideoStandardName(std::uint32_t value)
{
    for (const VideoStandardRow& row : kRows) {
        if (row.value == value)
            return row.name;
    }
    return nullptr;
}

std::optional<std::uint32_t> LowestSupportedStandard(std::uint32_t supportedMask)
{
    for (int bit = 0; bit < 32; ++bit) {
        const std::uint32_t value = std::uint32_t{1} << bit;
        if (supportedMask & value)
            return value;
    }
    return std::nullopt;
}

}  // namespace tuner
