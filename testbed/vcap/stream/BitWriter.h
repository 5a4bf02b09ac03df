#pragma once
// MSB-first bit writer for the MPEG syntax writers.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vcap {

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    void put(uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            acc_ = static_cast<uint8_t>((acc_ << 1) | ((value >> i) & 1u));
            if (++used_ == 8) {
                out_.push_back(acc_);
                acc_ = 0;
                used_ = 0;
            }
        }
    }

    // Zero bits up to the next byte boundary (start codes and most headers are byte aligned).
    void align()
    {
        if (used_ != 0)
            put(0, 8 - used_);
    }

    void startCode(uint8_t code)
    {
        align();
        out_.push_back(0);
        out_.push_back(0);
        out_.push_back(1);
        out_.push_back(code);
    }

    size_t bitCount() const { return out_.size() * 8 + static_cast<size_t>(used_); }

private:
    std::vector<uint8_t>& out_;
    uint8_t acc_ = 0;
    int used_ = 0;
};

}  // namespace vcap
