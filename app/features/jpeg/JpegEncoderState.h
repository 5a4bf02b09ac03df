#pragma once
// What an encoder prepares once for its parameters and keeps between pictures.
#include <cstdint>
#include <vector>

#include "JpegBitWriter.h"
#include "JpegEncoder.h"
#include "JpegFrame.h"
#include "JpegTables.h"

class JpegEncoder {
public:
    JpegEncoderParams params{};
    jpeg::Frame frame;
    jpeg::QuantTable quant[2]{};
    jpeg::HuffmanCodes dc[2]{};
    jpeg::HuffmanCodes ac[2]{};
    // Progressive mode: every quantised block (natural order) of each component's block grid.
    std::vector<int16_t> coefficients[3];
};

namespace jpeg {

// Transforms and quantises block (bx, by) of component `ci` of the picture (natural order).
void TransformBlock(const JpegEncoder& encoder, const uint8_t* planes, int ci, int bx, int by,
                    int16_t out[64]);

// Entropy-coded data and headers of each mode; both write the whole stream, SOI to EOI.
void WriteBaselineStream(const JpegEncoder& encoder, const uint8_t* planes, ByteSink& sink);
void WriteProgressiveStream(JpegEncoder& encoder, const uint8_t* planes, ByteSink& sink);

}  // namespace jpeg
