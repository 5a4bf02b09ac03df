#include "WavHeader.h"

namespace testbed {
namespace {

constexpr uint16_t kWaveFormatPcm = 1;

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// The bytes of the wave format that belong in the "fmt " chunk: a PCM format without its
// cbSize word, anything else with cbSize and the extra bytes it announces (as far as given).
size_t FmtChunkBytes(const uint8_t* format, size_t formatBytes)
{
    const uint16_t tag = static_cast<uint16_t>(format[0] | (format[1] << 8));
    if (tag == kWaveFormatPcm || formatBytes < 18)
        return 16;
    const size_t extra = static_cast<size_t>(format[16] | (format[17] << 8));
    return formatBytes < 18 + extra ? formatBytes : 18 + extra;
}

}  // namespace

uint64_t MaxWavDataBytes(size_t formatBytes)
{
    // The RIFF size (a 32-bit word) counts "WAVE", both chunk headers and both chunk bodies.
    const uint64_t overhead = 4 + 8 + formatBytes + 8;
    return 0xFFFFFFFFull - overhead;
}

std::vector<uint8_t> BuildWavHeader(const uint8_t* format, size_t formatBytes, uint64_t dataBytes)
{
    std::vector<uint8_t> out;
    if (!format || formatBytes < 16)
        return out;
    const size_t fmt = FmtChunkBytes(format, formatBytes);
    const uint64_t max = MaxWavDataBytes(fmt);
    const uint32_t data = static_cast<uint32_t>(dataBytes > max ? max : dataBytes);
    out.reserve(20 + fmt + 8);
    PutTag(out, "RIFF");
    Put32(out, static_cast<uint32_t>(4 + 8 + fmt + 8 + data));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, static_cast<uint32_t>(fmt));
    out.insert(out.end(), format, format + fmt);
    PutTag(out, "data");
    Put32(out, data);
    return out;
}

}  // namespace testbed
