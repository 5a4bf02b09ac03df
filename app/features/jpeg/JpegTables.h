#pragma once
// Constant tables of the encoder: zig-zag order, the base quantisation tables and the typical
// Huffman tables, and the quantisation tables scaled for a quality.
#include <cstdint>

namespace jpeg {

// kZigzag[k] is the natural (row-major) index of the k-th coefficient in zig-zag order.
extern const uint8_t kZigzag[64];

// Base quantisation tables, natural order: luminance (K.1) and chrominance (K.2).
extern const uint8_t kLuminanceQuant[64];
extern const uint8_t kChrominanceQuant[64];

// A Huffman table as the DHT marker carries it: code counts per length 1..16, then symbols.
struct HuffmanTable {
    uint8_t counts[16];
    const uint8_t* symbols;
    int symbolCount;
};
extern const HuffmanTable kDcLuminance;    // K.3
extern const HuffmanTable kDcChrominance;  // K.4
extern const HuffmanTable kAcLuminance;    // K.5
extern const HuffmanTable kAcChrominance;  // K.6

// A quantisation table scaled for a quality, natural order, with each entry's 16-bit reciprocal.
struct QuantTable {
    uint8_t entry[64];
    uint16_t reciprocal[64];
};

// Scales `base` for quality 1..100; entries are limited to 2..255 (quality 100 gives all 2).
QuantTable MakeQuantTable(const uint8_t base[64], int quality);

}  // namespace jpeg
