#pragma once
// Generated input pictures and a marker-level reader of JPEG streams, for the encoder's tests
// and its benchmark.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "JpegEncoder.h"

namespace jpegtest {

// Planes for `params` showing a camera-like scene: smooth gradients, hard edges, fine detail
// and sensor noise of about +-`noise`. Deterministic for a given seed.
std::vector<uint8_t> MakePicture(const JpegEncoderParams& params, int noise, uint32_t seed = 1);

// Planes of uniformly random samples (the worst case for size).
std::vector<uint8_t> MakeNoise(const JpegEncoderParams& params, uint32_t seed = 1);

struct Segment {
    uint8_t marker;                // second byte of the marker (0xD8 SOI, 0xD0 RST0, ...)
    std::vector<uint8_t> payload;  // without the length field; empty for SOI, EOI, RSTn
};

// The markers of a stream in order. Entropy-coded data is skipped (stuffed 0xFF 0x00 pairs);
// `ok` turns false on a truncated or malformed stream, or on bytes after EOI.
std::vector<Segment> ReadSegments(const uint8_t* data, size_t size, bool* ok);

}  // namespace jpegtest
