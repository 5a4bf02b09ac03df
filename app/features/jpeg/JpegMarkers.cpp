#include "JpegMarkers.h"

namespace jpeg {
namespace {

void WriteHuffmanTable(const HuffmanTable& table, int tableClass, int id, ByteSink& sink) {
    sink.Marker(0xC4);
    sink.Word(static_cast<uint16_t>(2 + 1 + 16 + table.symbolCount));
    sink.Byte(static_cast<uint8_t>(tableClass << 4 | id));
    for (uint8_t count : table.counts) sink.Byte(count);
    for (int i = 0; i < table.symbolCount; ++i) sink.Byte(table.symbols[i]);
}

void WriteApplicationSegment(bool adobe, ByteSink& sink) {
    if (adobe) {
        // Samples are R, G, B: transform 0 tells decoders not to convert them.
        sink.Marker(0xEE);
        sink.Word(14);
        for (char ch : {'A', 'd', 'o', 'b', 'e'}) sink.Byte(static_cast<uint8_t>(ch));
        sink.Word(101);  // version
        sink.Word(0);    // flags 0
        sink.Word(0);    // flags 1
        sink.Byte(0);    // transform
    } else {
        sink.Marker(0xE0);
        sink.Word(16);
        for (char ch : {'J', 'F', 'I', 'F'}) sink.Byte(static_cast<uint8_t>(ch));
        sink.Byte(0);
        sink.Byte(1);  // version 1.01
        sink.Byte(1);
        sink.Byte(0);  // no density units: aspect ratio only
        sink.Word(1);
        sink.Word(1);
        sink.Byte(0);  // no thumbnail
        sink.Byte(0);
    }
}

}  // namespace

void WriteFrameHeader(const JpegEncoder& encoder, bool progressive, int restartInterval,
                      ByteSink& sink) {
    const Frame& frame = encoder.frame;
    const int tables = frame.count == 1 ? 1 : 2;
    sink.Marker(0xD8);
    WriteApplicationSegment(encoder.params.format == kJpegRgb, sink);
    for (int t = 0; t < tables; ++t) {
        sink.Marker(0xDB);
        sink.Word(67);
        sink.Byte(static_cast<uint8_t>(t));  // 8-bit entries, table t
        for (int k = 0; k < 64; ++k) sink.Byte(encoder.quant[t].entry[kZigzag[k]]);
    }
    sink.Marker(progressive ? 0xC2 : 0xC0);
    sink.Word(static_cast<uint16_t>(8 + 3 * frame.count));
    sink.Byte(8);
    sink.Word(static_cast<uint16_t>(frame.height));
    sink.Word(static_cast<uint16_t>(frame.width));
    sink.Byte(static_cast<uint8_t>(frame.count));
    for (int i = 0; i < frame.count; ++i) {
        const Component& c = frame.comp[i];
        sink.Byte(static_cast<uint8_t>(c.id));
        sink.Byte(static_cast<uint8_t>(c.h << 4 | c.v));
        sink.Byte(static_cast<uint8_t>(c.table));
    }
    if (restartInterval > 0) {
        sink.Marker(0xDD);
        sink.Word(4);
        sink.Word(static_cast<uint16_t>(restartInterval));
    }
    WriteHuffmanTable(kDcLuminance, 0, 0, sink);
    WriteHuffmanTable(kAcLuminance, 1, 0, sink);
    if (tables == 2) {
        WriteHuffmanTable(kDcChrominance, 0, 1, sink);
        WriteHuffmanTable(kAcChrominance, 1, 1, sink);
    }
}

void WriteScanHeader(const Frame& frame, const int* components, int count, int ss, int se,
                     int ah, int al, ByteSink& sink) {
    sink.Marker(0xDA);
    sink.Word(static_cast<uint16_t>(6 + 2 * count));
    sink.Byte(static_cast<uint8_t>(count));
    for (int i = 0; i < count; ++i) {
        const Component& c = frame.comp[components[i]];
        sink.Byte(static_cast<uint8_t>(c.id));
        sink.Byte(static_cast<uint8_t>(c.table << 4 | c.table));
    }
    sink.Byte(static_cast<uint8_t>(ss));
    sink.Byte(static_cast<uint8_t>(se));
    sink.Byte(static_cast<uint8_t>(ah << 4 | al));
}

}  // namespace jpeg
