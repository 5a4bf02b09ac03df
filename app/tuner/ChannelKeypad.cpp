#include "ChannelKeypad.h"

namespace tuner {

namespace {

constexpr std::size_t kMaxDigits = 3;

int ValueOf(const std::string& digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

}  // namespace

ChannelKeypad::Next ChannelKeypad::PressDigit(char digit, const ChannelRange& range)
{
    if (digit < '0' || digit > '9')
        return Next::Ignored;
    buffer_ += digit;
    if (buffer_.size() > kMaxDigits)
        buffer_.erase(0, buffer_.size() - kMaxDigits);

    const int value = ValueOf(buffer_);
    // A typed leading zero ("07", "007") says the number is complete; so does a third digit
    // that already overshoots the tuner's range, as no further digit can mend it.
    if (buffer_.size() > 1 && buffer_[0] == '0' && value != 0)
        return Next::CommitNow;
    if (buffer_.size() == kMaxDigits && value > range.ListMaximum())
        return Next::CommitNow;
    return Next::RestartTimer;
}

std::string ChannelKeypad::Display() const
{
    const std::size_t first = buffer_.find_first_not_of('0');
    if (first == std::string::npos)
        return buffer_.empty() ? std::string() : std::string("0");
    return buffer_.substr(first);
}

int ChannelKeypad::Commit(int previousChannel, const ChannelRange& range)
{
    const bool typed = !buffer_.empty();
    const int value = ValueOf(buffer_);
    buffer_.clear();
    if (typed && value > 0 && value <= range.ListMaximum())
        return value;
    return previousChannel;
}

}  // namespace tuner
