// Baseline sequential stream: one interleaved scan, a restart interval per MCU row.
#include "JpegEncoderState.h"
#include "JpegMarkers.h"

namespace jpeg {
namespace {

void EncodeBlock(const int16_t zz[64], int& predictor, const HuffmanCodes& dc,
                 const HuffmanCodes& ac, BitWriter& bits) {
    const int32_t diff = zz[0] - predictor;
    predictor = zz[0];
    const int dcCategory = Category(diff);
    bits.SymbolAndValue(dc, dcCategory, diff, dcCategory);

    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const int32_t value = zz[k];
        if (value == 0) {
            ++run;
            continue;
        }
        for (; run > 15; run -= 16) bits.Symbol(ac, 0xF0);
        const int category = Category(value);
        bits.SymbolAndValue(ac, run << 4 | category, value, category);
        run = 0;
    }
    if (run > 0) bits.Symbol(ac, 0x00);
}

}  // namespace

void WriteBaselineStream(const JpegEncoder& encoder, const uint8_t* planes, ByteSink& sink) {
    const Frame& frame = encoder.frame;
    WriteFrameHeader(encoder, false, frame.mcusX, sink);
    const int all[3] = {0, 1, 2};
    WriteScanHeader(frame, all, frame.count, 0, 63, 0, 0, sink);

    BitWriter bits(sink);
    int16_t zz[64];
    for (int my = 0; my < frame.mcusY; ++my) {
        int predictor[3] = {0, 0, 0};
        for (int mx = 0; mx < frame.mcusX; ++mx) {
            for (int ci = 0; ci < frame.count; ++ci) {
                const Component& c = frame.comp[ci];
                for (int by = 0; by < c.v; ++by) {
                    for (int bx = 0; bx < c.h; ++bx) {
                        TransformBlock(encoder, planes, ci, mx * c.h + bx, my * c.v + by, zz);
                        EncodeBlock(zz, predictor[ci], encoder.dc[c.table], encoder.ac[c.table],
                                    bits);
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
