#include "JpegBitWriter.h"

namespace jpeg {

HuffmanCodes MakeHuffmanCodes(const HuffmanTable& table) {
    // Canonical codes (T.81 C.2): consecutive within a length, doubled when the length grows.
    HuffmanCodes codes{};
    uint32_t code = 0;
    int k = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int i = 0; i < table.counts[length - 1] && k < table.symbolCount; ++i, ++k) {
            codes.code[table.symbols[k]] = static_cast<uint16_t>(code++);
            codes.length[table.symbols[k]] = static_cast<uint8_t>(length);
        }
        code <<= 1;
    }
    return codes;
}

void BitWriter::Drain() {
    while (state_.pending >= 32) {
        state_.pending -= 32;
        const uint32_t word = static_cast<uint32_t>(state_.acc >> state_.pending);
        for (int shift = 24; shift >= 0; shift -= 8) Emit(static_cast<uint8_t>(word >> shift));
    }
}

void BitWriter::Flush() {
    while (state_.pending >= 8) {
        state_.pending -= 8;
        Emit(static_cast<uint8_t>(state_.acc >> state_.pending));
    }
    if (state_.pending > 0) {
        const int fill = 8 - state_.pending;
        Emit(static_cast<uint8_t>(((state_.acc << fill) | ((1u << fill) - 1)) & 0xFF));
    }
    state_ = BitState{};
}

}  // namespace jpeg
