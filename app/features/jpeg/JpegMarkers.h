#pragma once
// Marker segments of the stream.
#include <cstdint>

#include "JpegBitWriter.h"
#include "JpegEncoderState.h"

namespace jpeg {

// SOI, the APP0 "JFIF" or APP14 "Adobe" segment, DQT, SOF0 or SOF2, DRI (when
// `restartInterval` is not 0) and DHT.
void WriteFrameHeader(const JpegEncoder& encoder, bool progressive, int restartInterval,
                      ByteSink& sink);

// SOS for `count` components, given as indices into the frame's components.
void WriteScanHeader(const Frame& frame, const int* components, int count, int ss, int se,
                     int ah, int al, ByteSink& sink);

}  // namespace jpeg
