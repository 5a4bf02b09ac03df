#include "JpegDct.h"
#include "JpegEncoderState.h"

namespace jpeg {

void TransformBlock(const JpegEncoder& encoder, const uint8_t* planes, int ci, int bx, int by,
                    int16_t out[64]) {
    const Component& c = encoder.frame.comp[ci];
    const uint8_t* plane = planes + c.offset;
    if (bx * 8 + 8 <= c.width && by * 8 + 8 <= c.height) {
        ForwardDct(plane + static_cast<size_t>(by) * 8 * static_cast<size_t>(c.width) + bx * 8,
                   c.width, out);
    } else {
        uint8_t edge[64];
        LoadEdgeBlock(plane, c, bx, by, edge);
        ForwardDct(edge, 8, out);
    }
    QuantizeBlock(out, encoder.quant[c.table]);
}

}  // namespace jpeg
