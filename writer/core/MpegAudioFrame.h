#pragma once
// The length of an MPEG audio frame (layers I to III, MPEG-1, 2 and 2.5) from its header.
#include <cstdint>

namespace scrivet {

// Bytes in the frame whose four header bytes start at `header`; 0 when they are not a
// header (no sync, a reserved or free-format field).
uint32_t MpegAudioFrameLength(const uint8_t* header);

}  // namespace scrivet
