#pragma once
// MSB-first bit reader over one start-code unit. Reading past the end yields zero bits and
// marks the reader as overrun, so damaged data ends a slice instead of reading stray memory.
#include <cstddef>
#include <cstdint>

namespace mpegv {

class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), bits_(size * 8) {}

    // The next n bits (n <= 32) without consuming them.
    uint32_t Peek(unsigned n) const
    {
        if (n == 0) return 0;
        uint64_t window = 0;
        const size_t byte = pos_ >> 3;
        for (size_t i = 0; i < 5; ++i) {
            window <<= 8;
            if ((byte + i) * 8 < bits_) window |= data_[byte + i];
        }
        window <<= 24;  // 40 bits read, aligned to the top of 64
        window <<= (pos_ & 7);
        return uint32_t(window >> (64 - n));
    }
    void Skip(unsigned n)
    {
        pos_ += n;
        if (pos_ > bits_) overrun_ = true;
    }
    uint32_t Get(unsigned n)
    {
        const uint32_t v = Peek(n);
        Skip(n);
        return v;
    }
    bool Flag() { return Get(1) != 0; }
    void AlignToByte() { pos_ = (pos_ + 7) & ~size_t(7); }

    size_t BitsLeft() const { return pos_ < bits_ ? bits_ - pos_ : 0; }
    bool Overrun() const { return overrun_; }

private:
    const uint8_t* data_;
    size_t bits_;
    size_t pos_ = 0;
    bool overrun_ = false;
};

}  // namespace mpegv
