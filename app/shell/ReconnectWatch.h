#pragma once
// Waiting for a removed capture device to come back: the devices present when it went are
// known; a device that is not among them and carries the lost device's name, seen on ten
// polls in a row (about a second), is the lost one back. A new device of another name joins
// the known ones and the count starts again.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace shell {

struct PresentDevice {
    DWORD instance = 0;
    std::string name;
};

class ReconnectWatch {
public:
    static constexpr int kPollsToReconnect = 10;

    ReconnectWatch(const std::vector<PresentDevice>& present, std::string lostName);

    // One poll over the devices present now: the index in `present` of the device to take,
    // on the poll that completes the count.
    std::optional<std::size_t> Poll(const std::vector<PresentDevice>& present);

private:
    bool Known(DWORD instance) const;

    std::vector<DWORD> m_known;
    std::string m_lostName;
    int m_count = 0;
};

}  // namespace shell
