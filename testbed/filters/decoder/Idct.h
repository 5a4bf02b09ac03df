#pragma once
// 8x8 inverse DCT of an intra block, written as clamped 8-bit samples.
#include <cstdint>

namespace mpegv {

// `coefficients` in raster order (row = vertical frequency); `stride` may be negative or
// doubled for field blocks.
void InverseDctToPixels(const int coefficients[64], uint8_t* dst, int stride);

}  // namespace mpegv
