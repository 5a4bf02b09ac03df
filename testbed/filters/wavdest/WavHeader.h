#pragma once
// The RIFF/WAVE header in front of PCM data: the "fmt " chunk holds the wave format as it came
// (16 bytes for plain PCM, 18 + cbSize for any other tag), the "data" chunk the sample bytes.
// Plain arithmetic on bytes, apart from any filter.
#include <cstdint>
#include <vector>

namespace testbed {

// The largest data chunk a RIFF file can describe with this header in front of it.
uint64_t MaxWavDataBytes(size_t formatBytes);

// `format` is the WAVEFORMATEX as the media type carries it (at least 16 bytes); `dataBytes`
// is clamped to what a RIFF file can hold. Empty when the format is too short to be one.
std::vector<uint8_t> BuildWavHeader(const uint8_t* format, size_t formatBytes, uint64_t dataBytes);

}  // namespace testbed
