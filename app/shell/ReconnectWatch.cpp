#include "ReconnectWatch.h"

#include <algorithm>

namespace shell {

std::string WithoutPlace(const std::string& displayName)
{
    if (displayName.empty() || displayName.back() != ')')
        return displayName;
    const std::size_t open = displayName.rfind(" (");
    if (open == std::string::npos)
        return displayName;
    const std::string place = displayName.substr(open + 2);
    for (const char* kind : {"DevNode:", "USB:", "PCI Slot "})
        if (place.rfind(kind, 0) == 0)
            return displayName.substr(0, open);
    return displayName;
}

ReconnectWatch::ReconnectWatch(const std::vector<PresentDevice>& present, std::string lostName)
    : m_lostName(WithoutPlace(lostName))
{
    for (const PresentDevice& device : present)
        m_known.push_back(device.instance);
}

bool ReconnectWatch::Known(const std::string& instance) const
{
    return std::find(m_known.begin(), m_known.end(), instance) != m_known.end();
}

std::optional<std::size_t> ReconnectWatch::Poll(const std::vector<PresentDevice>& present)
{
    std::optional<std::size_t> lost;
    for (std::size_t i = 0; i < present.size(); ++i) {
        if (Known(present[i].instance))
            continue;
        if (WithoutPlace(present[i].name) == m_lostName) {
            lost = lost ? lost : i;
        } else {
            m_known.push_back(present[i].instance);
            m_count = 0;
        }
    }
    if (!lost) {
        m_count = 0;
        return std::nullopt;
    }
    if (++m_count < kPollsToReconnect)
        return std::nullopt;
    m_count = 0;
    return lost;
}

}  // namespace shell
