#pragma once
// Bytes of one elementary stream waiting for the multiplexer, with the time stamps of the
// access units (pictures, audio frames) that begin in them.
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace vcap {

class ElementaryQueue {
public:
    // Appends bytes; when `unitTime90` is given an access unit with that time starts here.
    void append(const uint8_t* data, size_t size, std::optional<uint64_t> unitTime90);

    size_t size() const { return buffer_.size() - head_; }
    bool empty() const { return size() == 0; }
    const uint8_t* data() const { return buffer_.data() + head_; }
    uint64_t position() const { return base_ + head_; }  // stream offset of data()[0]

    // Time of the access unit the next byte belongs to (0 before any unit).
    uint64_t frontTime() const;
    // Time of the first access unit that starts within the next `n` bytes.
    std::optional<uint64_t> unitStartWithin(size_t n) const;

    void consume(size_t n);

private:
    struct Unit {
        uint64_t offset;
        uint64_t time90;
    };
    std::vector<uint8_t> buffer_;
    size_t head_ = 0;
    uint64_t base_ = 0;
    std::deque<Unit> units_;
};

}  // namespace vcap
