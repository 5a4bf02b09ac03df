#pragma once
// Forward DCT in 16-bit fixed point and quantisation with 16-bit reciprocals.
#include <cstddef>
#include <cstdint>

#include "JpegTables.h"

namespace jpeg {

// Transforms one 8x8 block of unshifted samples (rows `stride` bytes apart) into DCT
// coefficients in natural order, scaled as T.81 A.3.3 defines them, the DC level-shifted.
void ForwardDct(const uint8_t* samples, ptrdiff_t stride, int16_t coef[64]);

// Quantises to the nearest integer, halves away from zero, by multiplying with the entry's
// reciprocal; symmetric, so a zero coefficient stays zero whatever the quantiser.
inline int32_t Quantize(int32_t coef, uint32_t reciprocal) {
    const int32_t magnitude = static_cast<int32_t>(
        (static_cast<uint32_t>(coef < 0 ? -coef : coef) * reciprocal + 0x8000u) >> 16);
    return coef < 0 ? -magnitude : magnitude;
}

// Quantises a block of coefficients in place (natural order).
void QuantizeBlock(int16_t coef[64], const QuantTable& table);

}  // namespace jpeg
