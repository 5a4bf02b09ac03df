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
    // Where the next byte goes; only for callers that checked HasRoom and then Advance.
    uint8_t* Cursor() { return buffer_ + count_; }
    void Advance(size_t n) { count_ += n; }
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
HuffmanCodes MakeHuffmanCodes(const HuffmanTable& table);

// Number of bits of |value| (the T.81 size category), and the bits that code `value` in it.
inline int Category(int32_t value) {
    return std::bit_width(static_cast<uint32_t>(value < 0 ? -value : value));
}
inline uint32_t MagnitudeBits(int32_t value, int category) {
    const int32_t bits = value < 0 ? value - 1 : value;
    return static_cast<uint32_t>(bits) & ((1u << category) - 1);
}

inline bool HasFFByte(uint32_t word) {
    const uint32_t inverted = ~word;
    return ((inverted - 0x01010101u) & ~inverted & 0x80808080u) != 0;
}

// Bits waiting for output: the newest `pending` bits of `acc` (fewer than 32 between writes).
struct BitState {
    uint64_t acc = 0;
    int pending = 0;
};

// Writes bits straight into memory the caller has reserved: no bounds checks, so the hot loop
// keeps its state in registers. Give it room for the worst case of what it will write.
class UncheckedBits {
public:
    UncheckedBits(BitState state, uint8_t* out) : acc_(state.acc), pending_(state.pending), out_(out) {}

    void Put(uint32_t bits, int count) {
        acc_ = (acc_ << count) | bits;
        pending_ += count;
        if (pending_ >= 32) {
            pending_ -= 32;
            const uint32_t word = static_cast<uint32_t>(acc_ >> pending_);
            if (!HasFFByte(word)) {
                out_[0] = static_cast<uint8_t>(word >> 24);
                out_[1] = static_cast<uint8_t>(word >> 16);
                out_[2] = static_cast<uint8_t>(word >> 8);
                out_[3] = static_cast<uint8_t>(word);
                out_ += 4;
            } else {
                for (int shift = 24; shift >= 0; shift -= 8) {
                    const uint8_t byte = static_cast<uint8_t>(word >> shift);
                    *out_++ = byte;
                    if (byte == 0xFF) *out_++ = 0x00;
                }
            }
        }
    }
    BitState State() const { return BitState{acc_, pending_}; }
    uint8_t* End() const { return out_; }

private:
    uint64_t acc_;
    int pending_;
    uint8_t* out_;
};

class BitWriter {
public:
    // The most bytes one block can produce: 64 codes of at most 26 bits, every byte stuffed,
    // plus the bits still pending.
    static constexpr size_t kBlockRoom = 64 * 26 / 8 * 2 + 8;

    explicit BitWriter(ByteSink& sink) : sink_(sink) {}

    // Appends the low `count` bits of `bits` (count <= 32), checking the buffer's bounds.
    void Put(uint32_t bits, int count) {
        state_.acc = (state_.acc << count) | bits;
        state_.pending += count;
        if (state_.pending >= 32) Drain();
    }

    // Runs code(bits) for one block, with `bits` an UncheckedBits while the buffer has room for
    // a block and this checked writer near or past its end.
    template <typename Code>
    void Block(Code&& code) {
        if (sink_.HasRoom(kBlockRoom)) {
            UncheckedBits fast(state_, sink_.Cursor());
            code(fast);
            sink_.Advance(static_cast<size_t>(fast.End() - sink_.Cursor()));
            state_ = fast.State();
        } else {
            code(*this);
        }
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
    BitState state_;
};

// A Huffman symbol, and a symbol followed by `category` extra bits of `value` in one write.
template <typename Bits>
inline void PutSymbol(Bits& bits, const HuffmanCodes& table, int symbol) {
    bits.Put(table.code[symbol], table.length[symbol]);
}
template <typename Bits>
inline void PutSymbolAndValue(Bits& bits, const HuffmanCodes& table, int symbol, int32_t value,
                              int category) {
    bits.Put((static_cast<uint32_t>(table.code[symbol]) << category) | MagnitudeBits(value, category),
             table.length[symbol] + category);
}

}  // namespace jpeg
