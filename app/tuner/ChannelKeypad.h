#pragma once
// Typed channel numbers on the channel page: digits collect in a buffer of at most three
// characters and are committed at once when no further digit can make a sensible number,
// otherwise when the entry timer expires.
#include <string>

#include "TunerSettings.h"

namespace tuner {

constexpr unsigned kChannelEntryTimerId = 10003;
constexpr unsigned kChannelEntryDelayMs = 3000;

class ChannelKeypad {
public:
    enum class Next {
        RestartTimer,  // (re)start the entry timer; its expiry commits
        CommitNow,     // commit at once
        Ignored,       // not a digit: nothing changed
    };

    // Appends a digit ('0'..'9'; anything else is ignored). Channels above the range's
    // maximum, or beyond the channel lists, cannot be chosen.
    Next PressDigit(char digit, const ChannelRange& range);

    // The number as the channel display shows it: the typed digits without leading zeros.
    std::string Display() const;
    bool Idle() const { return buffer_.empty(); }

    // Ends the entry and returns the channel to tune: the typed one when it lies in
    // 1..maximum, otherwise the previous channel, which the display shows again.
    int Commit(int previousChannel, const ChannelRange& range);

private:
    // Empty while idle, so an idle state is never mistaken for a typed "0".
    std::string buffer_;
};

}  // namespace tuner
