#pragma once
// Waiting for a removed capture device to come back: the devices present when it went are
// known; a device that is not among them and carries the lost device's name, seen on ten
// polls in a row (about a second), is the lost one back. A new device of another name joins
// the known ones and the count starts again. Names are compared without the place the display
// name adds (" (DevNode:3)", " (USB:1A)", " (PCI Slot 2)"): a card plugged in again gets a new
// device node, and is still the same card.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace shell {

struct PresentDevice {
    // What tells one device instance from another for as long as it is plugged in (its
    // device path); a handle of the enumeration would be handed to another device next time.
    std::string instance;
    std::string name;
};

// The device's own name: a display name without the place that follows it.
std::string WithoutPlace(const std::string& displayName);

class ReconnectWatch {
public:
    static constexpr int kPollsToReconnect = 10;

    ReconnectWatch(const std::vector<PresentDevice>& present, std::string lostName);

    // One poll over the devices present now: the index in `present` of the device to take,
    // on the poll that completes the count.
    std::optional<std::size_t> Poll(const std::vector<PresentDevice>& present);

private:
    bool Known(const std::string& instance) const;

    std::vector<std::string> m_known;
    std::string m_lostName;
    int m_count = 0;
};

}  // namespace shell
