#include "ElementaryQueue.h"

#include <algorithm>

namespace vcap {

void ElementaryQueue::append(const uint8_t* data, size_t size, std::optional<uint64_t> unitTime90)
{
    if (unitTime90)
        units_.push_back({base_ + buffer_.size(), *unitTime90});
    buffer_.insert(buffer_.end(), data, data + size);
}

uint64_t ElementaryQueue::frontTime() const
{
    uint64_t t = 0;
    for (const Unit& u : units_) {
        if (u.offset > position())
            break;
        t = u.time90;
    }
    if (t == 0 && !units_.empty())
        t = units_.front().time90;
    return t;
}

std::optional<uint64_t> ElementaryQueue::unitStartWithin(size_t n) const
{
    const uint64_t begin = position();
    for (const Unit& u : units_) {
        if (u.offset >= begin + n)
            break;
        if (u.offset >= begin)
            return u.time90;
    }
    return std::nullopt;
}

void ElementaryQueue::consume(size_t n)
{
    head_ += std::min(n, size());
    // Keep the unit the next byte belongs to; drop the ones before it.
    while (units_.size() > 1 && units_[1].offset <= position())
        units_.pop_front();
    if (head_ > (1u << 20) && head_ * 2 > buffer_.size()) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(head_));
        base_ += head_;
        head_ = 0;
    }
}

}  // namespace vcap
