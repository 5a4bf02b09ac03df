#pragma once
// Variable-length codes of MPEG-1/2 video needed for intra pictures: macroblock address
// increment, intra macroblock type, DC size (luminance and chrominance), the two DCT
// coefficient tables and the motion code (for concealment vectors).
#include "BitReader.h"

namespace mpegv {

constexpr int kVlcError = -1000;
constexpr int kMbaStuffing = -1;   // MPEG-1 macroblock stuffing
constexpr int kMbaEscape = -2;     // adds 33 to the increment that follows

// The increment (1..33), kMbaStuffing, kMbaEscape or kVlcError.
int DecodeMbaIncrement(BitReader& br);

// Intra macroblock type of an I picture: 1 = intra, 2 = intra with quantiser, kVlcError.
int DecodeIntraMbType(BitReader& br);

// Size of the DC differential (0..11) or kVlcError.
int DecodeDcSize(BitReader& br, bool chroma);

struct Coefficient {
    enum Kind { Value, EndOfBlock, Escape, Error } kind = Error;
    int run = 0;
    int level = 0;  // signed, sign bit already read
};

// One AC coefficient (not the first of a non-intra block) from table zero or table one.
Coefficient DecodeCoefficient(BitReader& br, bool tableOne);

// Motion code -16..16 or kVlcError.
int DecodeMotionCode(BitReader& br);

}  // namespace mpegv
