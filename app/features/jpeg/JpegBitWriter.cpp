#include "JpegBitWriter.h"

namespace jpeg {

HuffmanCodes MakeHuffmanCodes(const HuffmanSpec& spec) {
    // Canonical codes (T.81 C.2): consecutive within a length, doubled when the length grows.
    HuffmanCodes codes{};
    uint32_t code = 0;
    int k = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int i = 0; i < spec.counts[length - 1] && k < spec.symbolCount; ++i, ++k) {
            codes.code[spec.symbols[k]] = static_cast<uint16_t>(code++);
            codes.length[spec.symbols[k]] = static_cast<uint8_t>(length);
        }
        code <<= 1;
    }
    return codes;
}

void BitWriter::Drain() {
    while (pending_ >= 32) {
        const uint32_t word = static_cast<uint32_t>(acc_ >> (pending_ - 32));
        pending_ -= 32;
        // No 0xFF byte in the word (the common case): four plain bytes.
        const uint32_t inverted = ~word;
        const bool hasFF = ((inverted - 0x01010101u) & ~inverted & 0x80808080u) != 0;
        if (!hasFF && sink_.HasRoom(4)) {
            uint8_t* out = sink_.Reserve(4);
            out[0] = static_cast<uint8_t>(word >> 24);
            out[1] = static_cast<uint8_t>(word >> 16);
            out[2] = static_cast<uint8_t>(word >> 8);
            out[3] = static_cast<uint8_t>(word);
        } else {
            Emit(static_cast<uint8_t>(word >> 24));
            Emit(static_cast<uint8_t>(word >> 16));
            Emit(static_cast<uint8_t>(word >> 8));
            Emit(static_cast<uint8_t>(word));
        }
    }
}

void BitWriter::Flush() {
    while (pending_ >= 8) {
        pending_ -= 8;
        Emit(static_cast<uint8_t>(acc_ >> pending_));
    }
    if (pending_ > 0) {
        const int fill = 8 - pending_;
        Emit(static_cast<uint8_t>(((acc_ << fill) | ((1u << fill) - 1)) & 0xFF));
    }
    pending_ = 0;
    acc_ = 0;
}

}  // namespace jpeg
