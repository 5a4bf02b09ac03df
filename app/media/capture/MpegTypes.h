#pragma once
// The media types the capture engine gives the demultiplexer's outputs: the elementary video
// (MPEG-2 with a sequence header generated for the picture size, or MPEG-1 payload) and the
// audio (PCM from private stream 1, or MPEG-1 layer II).
#include <windows.h>

#include <cstdint>
#include <vector>

#include "dshowbase/MediaType.h"

namespace capture {

// A sequence header followed by a sequence extension: main profile at main level, 4:2:0,
// interlaced, 4:3, for the given size, frame duration (333333 or 400000) and bit rate.
std::vector<uint8_t> Mpeg2SequenceHeader(uint32_t width, uint32_t height, REFERENCE_TIME frameDuration,
                                         uint32_t bitRate);

dshow::MediaType Mpeg2VideoType(uint32_t width, uint32_t height, REFERENCE_TIME frameDuration, uint32_t bitRate);
dshow::MediaType Mpeg1VideoType(uint32_t width, uint32_t height, REFERENCE_TIME frameDuration, uint32_t bitRate);
// Two channels of 16-bit samples.
dshow::MediaType PcmAudioType(uint32_t samplingRate);
// Two channels, format tag 0x50; `bitRateKbps` as the encoder keeps it.
dshow::MediaType MpegAudioType(uint32_t samplingRate, uint32_t bitRateKbps);

}  // namespace capture
