#pragma once
// Slice, macroblock and block layers of intra pictures: VLC decoding, inverse quantisation,
// inverse DCT and placement of the blocks into the picture (frame or field).
#include "BitReader.h"
#include "ColourConvert.h"
#include "Headers.h"

namespace mpegv {

// What a slice needs to know about the sequence and the picture it belongs to.
struct SliceContext {
    const SequenceInfo* sequence = nullptr;
    const PictureInfo* picture = nullptr;
    int mbWidth = 0;
    int mbRows = 0;  // macroblock rows of this picture (of one field for field pictures)
};

// Decodes the slice whose start code was `code` (its body in `br`) into `out`. Returns false
// when the slice is damaged; macroblocks decoded before the damage stay in the picture.
bool DecodeSlice(const SliceContext& ctx, int code, BitReader& br, Picture& out);

}  // namespace mpegv
