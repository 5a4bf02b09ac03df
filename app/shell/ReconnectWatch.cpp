#include "ReconnectWatch.h"

#include <algorithm>

namespace shell {

ReconnectWatch::ReconnectWatch(const std::vector<PresentDevice>& present, std::string lostName)
    : m_lostName(std::move(lostName))
{
    for (const PresentDevice& device : present)
        m_known.push_back(device.instance);
}

bool ReconnectWatch::Known(DWORD instance) const
{
    return std::find(m_known.begin(), m_known.end(), instance) != m_known.end();
}

std::optional<std::size_t> ReconnectWatch::Poll(const std::vector<PresentDevice>& present)
{
    std::optional<std::size_t> lost;
    for (std::size_t i = 0; i < present.size(); ++i) {
        if (Known(present[i].instance))
            continue;
        if (present[i].name == m_lostName) {
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
