#pragma once
// Output of the encoder: a byte sink bounded by the caller's buffer, and the bit writer of the
// entropy-coded data with byte stuffing and Huffman codes.
#include <bit>
#include <cstddef>
#include <cstdint>

#include "JpegTables.h"

namespace jpeg {

// Writes into a fixed buffer and never past it; bytes beyond its end are only counted, so a
// stream that does not fit still reports the size it needs.
class ByteSink {
public:
    ByteSink(uint8_t* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}

    void Byte(uint8_t value) {
        if (count_ < capacity_) buffer_[count_] = value;
        ++count_;
    }
    void Word(uint16_t value) {
        Byte(static_cast<uint8_t>(value >> 8));
        Byte(static_cast<uint8_t>(value));
    }
    void Marker(uint8_t code) { Word(static_cast<uint16_t>(0xFF00 | code)); }
    // Room for n more bytes inside the buffer.
    bool HasRoom(size_t n) const { return count_ <= capacity_ && capacity_ - count_ >= n; }
    // Caller guarantees HasRoom(n).
    uint8_t* Reserve(size_t n) {
        uint8_t* at = buffer_ + count_;
        count_ += n;
        return at;
    }
    size_t Count() const { return count_; }
    bool Overflowed() const { return count_ > capacity_; }

private:
    uint8_t* buffer_;
    size_t capacity_;
    size_t count_ = 0;
};

// Encoder form of a Huffman table: code and length per symbol (length 0: symbol absent).
struct HuffmanCodes {
    uint16_t code[256];
    uint8_t length[256];
};
HuffmanCodes MakeHuffmanCodes(const HuffmanSpec& spec);

// Number of bits of |value| (the T.81 size category), and the bits that code `value` in it.
inline int Category(int32_t value) {
    return std::bit_width(static_cast<uint32_t>(value < 0 ? -value : value));
}
inline uint32_t MagnitudeBits(int32_t value, int category) {
    const int32_t bits = value < 0 ? value - 1 : value;
    return static_cast<uint32_t>(bits) & ((1u << category) - 1);
}

class BitWriter {
public:
    explicit BitWriter(ByteSink& sink) : sink_(sink) {}

    // Appends the low `count` bits of `bits` (count <= 32).
    void Put(uint32_t bits, int count) {
        acc_ = (acc_ << count) | bits;
        pending_ += count;
        if (pending_ >= 32) Drain();
    }
    void Symbol(const HuffmanCodes& table, int symbol) {
        Put(table.code[symbol], table.length[symbol]);
    }
    // A symbol followed by `category` extra bits of `value`, in one write.
    void SymbolAndValue(const HuffmanCodes& table, int symbol, int32_t value, int category) {
        const int length = table.length[symbol];
        Put((static_cast<uint32_t>(table.code[symbol]) << category) |
                MagnitudeBits(value, category),
            length + category);
    }
    // Completes the last byte with 1-bits and writes out everything pending.
    void Flush();

private:
    void Drain();
    void Emit(uint8_t byte) {
        sink_.Byte(byte);
        if (byte == 0xFF) sink_.Byte(0x00);
    }

    ByteSink& sink_;
    uint64_t acc_ = 0;  // the newest `pending_` bits are still to write
    int pending_ = 0;
};

}  // namespace jpeg
