// Baseline sequential stream: one interleaved scan, a restart interval per MCU row.
#include <bit>

#include "JpegEncoderState.h"
#include "JpegMarkers.h"

namespace jpeg {
namespace {

template <typename Bits>
void EncodeBlock(const int16_t block[64], int& predictor, const HuffmanCodes& dc,
                 const HuffmanCodes& ac, Bits& bits) {
    const int32_t diff = block[0] - predictor;
    predictor = block[0];
    const int dcCategory = Category(diff);
    PutSymbolAndValue(bits, dc, dcCategory, diff, dcCategory);

    // Zig-zag order and a mask of the non-zero AC coefficients: the loop below visits only
    // those, so runs of zeros cost no mispredicted branches.
    int16_t zz[64];
    uint64_t nonZero = 0;
    for (int k = 1; k < 64; ++k) {
        zz[k] = block[kZigzag[k]];
        nonZero |= static_cast<uint64_t>(zz[k] != 0) << k;
    }
    int last = 0;
    while (nonZero != 0) {
        const int k = std::countr_zero(nonZero);
        nonZero &= nonZero - 1;
        int run = k - last - 1;
        for (; run > 15; run -= 16) PutSymbol(bits, ac, 0xF0);
        const int32_t value = zz[k];
        const int category = Category(value);
        PutSymbolAndValue(bits, ac, run << 4 | category, value, category);
        last = k;
    }
    if (last != 63) PutSymbol(bits, ac, 0x00);
}

}  // namespace

void WriteBaselineStream(const JpegEncoder& encoder, const uint8_t* planes, ByteSink& sink) {
    const Frame& frame = encoder.frame;
    WriteFrameHeader(encoder, false, frame.mcusX, sink);
    const int all[3] = {0, 1, 2};
    WriteScanHeader(frame, all, frame.count, 0, 63, 0, 0, sink);

    BitWriter bits(sink);
    int16_t block[64];
    for (int my = 0; my < frame.mcusY; ++my) {
        int predictor[3] = {0, 0, 0};
        for (int mx = 0; mx < frame.mcusX; ++mx) {
            for (int ci = 0; ci < frame.count; ++ci) {
                const Component& c = frame.comp[ci];
                for (int by = 0; by < c.v; ++by) {
                    for (int bx = 0; bx < c.h; ++bx) {
                        TransformBlock(encoder, planes, ci, mx * c.h + bx, my * c.v + by, block);
                        const HuffmanCodes& dc = encoder.dc[c.table];
                        const HuffmanCodes& ac = encoder.ac[c.table];
                        bits.Block([&](auto& out) {
                            EncodeBlock(block, predictor[ci], dc, ac, out);
                        });
                    }
                }
            }
        }
        bits.Flush();
        if (my + 1 < frame.mcusY) sink.Marker(static_cast<uint8_t>(0xD0 + my % 8));
    }
    sink.Marker(0xD9);
}

}  // namespace jpeg
