// Progressive stream: every block is transformed first, then sent in a fixed scan script
// (DC first, then spectral bands, then refinement by successive approximation). Each block's
// end-of-band is coded on its own (EOB run of 1), which the typical Huffman tables can express.
#include "JpegEncoderState.h"
#include "JpegMarkers.h"

namespace jpeg {
namespace {

struct Scan {
    int component;  // -1: all components, interleaved (DC scans only)
    int ss, se, ah, al;
};

// Luminance gets its low band first and one more refinement step than chrominance.
constexpr Scan kColourScript[] = {
    {-1, 0, 0, 0, 1},  {0, 1, 5, 0, 2},  {2, 1, 63, 0, 1}, {1, 1, 63, 0, 1}, {0, 6, 63, 0, 2},
    {0, 1, 63, 2, 1},  {-1, 0, 0, 1, 0}, {2, 1, 63, 1, 0}, {1, 1, 63, 1, 0}, {0, 1, 63, 1, 0}};
constexpr Scan kGreyScript[] = {{-1, 0, 0, 0, 1}, {0, 1, 5, 0, 2},  {0, 6, 63, 0, 2},
                                {0, 1, 63, 2, 1}, {-1, 0, 0, 1, 0}, {0, 1, 63, 1, 0}};

class ScanCoder {
public:
    ScanCoder(const JpegEncoder& encoder, const Scan& scan, BitWriter& bits)
        : encoder_(encoder), scan_(scan), bits_(bits) {}

    // `block` in natural order.
    void Block(const int16_t* block, int ci) {
        int16_t zz[64];
        for (int k = scan_.ss; k <= scan_.se; ++k) zz[k] = block[kZigzag[k]];
        bits_.Block([&](auto& out) { Code(zz, ci, out); });
    }

private:
    template <typename Bits>
    void Code(const int16_t* zz, int ci, Bits& bits) {
        const int table = encoder_.frame.comp[ci].table;
        if (scan_.ss == 0) {
            if (scan_.ah == 0) DcFirst(zz[0], predictor_[ci], encoder_.dc[table], bits);
            else bits.Put(static_cast<uint32_t>(zz[0] >> scan_.al) & 1, 1);
        } else if (scan_.ah == 0) {
            AcFirst(zz, encoder_.ac[table], bits);
        } else {
            AcRefine(zz, encoder_.ac[table], bits);
        }
    }

    template <typename Bits>
    void DcFirst(int32_t dc, int& predictor, const HuffmanCodes& table, Bits& bits) {
        const int32_t value = dc >> scan_.al;  // arithmetic shift, as G.1.2.1 asks
        const int32_t diff = value - predictor;
        predictor = value;
        const int category = Category(diff);
        PutSymbolAndValue(bits, table, category, diff, category);
    }

    template <typename Bits>
    void AcFirst(const int16_t* zz, const HuffmanCodes& table, Bits& bits) {
        int run = 0;
        for (int k = scan_.ss; k <= scan_.se; ++k) {
            // The point transform divides the magnitude, rounding towards zero.
            const int32_t magnitude = (zz[k] < 0 ? -zz[k] : zz[k]) >> scan_.al;
            if (magnitude == 0) {
                ++run;
                continue;
            }
            for (; run > 15; run -= 16) PutSymbol(bits, table, 0xF0);
            const int32_t value = zz[k] < 0 ? -magnitude : magnitude;
            const int category = Category(value);
            PutSymbolAndValue(bits, table, run << 4 | category, value, category);
            run = 0;
        }
        if (run > 0) PutSymbol(bits, table, 0x00);
    }

    template <typename Bits>
    void AcRefine(const int16_t* zz, const HuffmanCodes& table, Bits& bits) {
        int32_t magnitude[64];
        int lastNew = 0;  // last coefficient that becomes non-zero in this scan
        for (int k = scan_.ss; k <= scan_.se; ++k) {
            magnitude[k] = (zz[k] < 0 ? -zz[k] : zz[k]) >> scan_.al;
            if (magnitude[k] == 1) lastNew = k;
        }
        // Correction bits of coefficients already non-zero, sent after the next symbol.
        uint8_t correction[64];
        int corrections = 0;
        int run = 0;
        for (int k = scan_.ss; k <= scan_.se; ++k) {
            if (magnitude[k] == 0) {
                ++run;
                continue;
            }
            for (; run > 15 && k <= lastNew; run -= 16) {
                PutSymbol(bits, table, 0xF0);
                PutCorrections(correction, corrections, bits);
            }
            if (magnitude[k] > 1) {
                correction[corrections++] = static_cast<uint8_t>(magnitude[k] & 1);
                continue;
            }
            PutSymbol(bits, table, run << 4 | 1);
            bits.Put(zz[k] < 0 ? 0 : 1, 1);
            PutCorrections(correction, corrections, bits);
            run = 0;
        }
        if (run > 0 || corrections > 0) {
            PutSymbol(bits, table, 0x00);
            PutCorrections(correction, corrections, bits);
        }
    }

    template <typename Bits>
    static void PutCorrections(const uint8_t* correction, int& count, Bits& bits) {
        for (int i = 0; i < count; ++i) bits.Put(correction[i], 1);
        count = 0;
    }

    const JpegEncoder& encoder_;
    const Scan& scan_;
    BitWriter& bits_;
    int predictor_[3] = {0, 0, 0};
};

void WriteScan(const JpegEncoder& encoder, const Scan& scan, ByteSink& sink) {
    const Frame& frame = encoder.frame;
    const int all[3] = {0, 1, 2};
    const int single[1] = {scan.component};
    const bool interleaved = scan.component < 0 && frame.count > 1;
    if (scan.component < 0) WriteScanHeader(frame, all, frame.count, scan.ss, scan.se, scan.ah,
                                            scan.al, sink);
    else WriteScanHeader(frame, single, 1, scan.ss, scan.se, scan.ah, scan.al, sink);

    BitWriter bits(sink);
    ScanCoder coder(encoder, scan, bits);
    if (interleaved) {
        for (int my = 0; my < frame.mcusY; ++my)
            for (int mx = 0; mx < frame.mcusX; ++mx)
                for (int ci = 0; ci < frame.count; ++ci) {
                    const Component& c = frame.comp[ci];
                    for (int by = 0; by < c.v; ++by)
                        for (int bx = 0; bx < c.h; ++bx) {
                            const size_t index = static_cast<size_t>(my * c.v + by) * c.blocksX +
                                                 static_cast<size_t>(mx * c.h + bx);
                            coder.Block(&encoder.coefficients[ci][index * 64], ci);
                        }
                }
    } else {
        // A single-component scan covers only the blocks the component's own size needs.
        const int ci = scan.component < 0 ? 0 : scan.component;
        const Component& c = frame.comp[ci];
        for (int by = 0; by < c.ScanBlocksY(); ++by)
            for (int bx = 0; bx < c.ScanBlocksX(); ++bx) {
                const size_t index = static_cast<size_t>(by) * c.blocksX + bx;
                coder.Block(&encoder.coefficients[ci][index * 64], ci);
            }
    }
    bits.Flush();
}

}  // namespace

void WriteProgressiveStream(JpegEncoder& encoder, const uint8_t* planes, ByteSink& sink) {
    const Frame& frame = encoder.frame;
    for (int ci = 0; ci < frame.count; ++ci) {
        const Component& c = frame.comp[ci];
        int16_t* out = encoder.coefficients[ci].data();
        for (int by = 0; by < c.blocksY; ++by)
            for (int bx = 0; bx < c.blocksX; ++bx, out += 64)
                TransformBlock(encoder, planes, ci, bx, by, out);
    }
    WriteFrameHeader(encoder, true, 0, sink);
    if (frame.count == 1)
        for (const Scan& scan : kGreyScript) WriteScan(encoder, scan, sink);
    else
        for (const Scan& scan : kColourScript) WriteScan(encoder, scan, sink);
    sink.Marker(0xD9);
}

}  // namespace jpeg
