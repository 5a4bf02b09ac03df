#include "RemoteLearning.h"

namespace remote {

bool IsValidAddress(int address)
{
    for (std::uint8_t valid : kValidAddresses)
        if (address == valid)
            return true;
    return false;
}

int StatusTextFor(int address)
{
    return IsValidAddress(address) ? 3006 : 3007;
}

void RemoteLearning::Open()
{
    m_learning = true;
    m_waiting = false;
    m_captured = 0;
    m_ticks = 0;
}

void RemoteLearning::StartWaiting()
{
    if (!m_learning)
        return;
    m_waiting = true;
    m_ticks = 0;
}

bool RemoteLearning::OnKey(int key, std::uint8_t address)
{
    if (!m_learning || !m_waiting || key != '0')
        return false;
    m_captured = address;
    m_waiting = false;
    return true;
}

RemoteLearning::Tick RemoteLearning::OnTick()
{
    ++m_ticks;
    if (m_waiting && m_ticks < kWaitTicks)
        return Tick::Waiting;
    m_waiting = false;
    m_ticks = 0;
    const bool valid = IsValidAddress(m_captured);
    if (valid)
        m_learned = m_captured;
    m_captured = 0;
    return valid ? Tick::Succeeded : Tick::Failed;
}

void RemoteLearning::Close(bool keep)
{
    if (keep && m_learned >= 0)
        m_address = m_learned;
    m_learning = false;
    m_waiting = false;
    m_captured = 0;
    m_ticks = 0;
    m_learned = -1;
}

}  // namespace remote
