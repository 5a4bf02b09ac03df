#include "PowerSuppression.h"

namespace shell {
namespace {

struct Timeout {
    UINT get;
    UINT set;
};
constexpr Timeout kTimeouts[3] = {
    {SPI_GETSCREENSAVETIMEOUT, SPI_SETSCREENSAVETIMEOUT},
    {SPI_GETLOWPOWERTIMEOUT, SPI_SETLOWPOWERTIMEOUT},
    {SPI_GETPOWEROFFTIMEOUT, SPI_SETPOWEROFFTIMEOUT},
};

class SystemParameters : public PowerSuppression::Parameters {
public:
    int Get(UINT action) override
    {
        int value = 0;
        SystemParametersInfoA(action, 0, &value, 0);
        return value;
    }
    void Set(UINT action, int value) override
    {
        SystemParametersInfoA(action, static_cast<UINT>(value), nullptr, SPIF_SENDCHANGE);
    }
};

SystemParameters g_system;

}  // namespace

PowerSuppression::PowerSuppression() : m_parameters(&g_system) {}

void PowerSuppression::Enter(Client client)
{
    const bool first = m_claims == 0;
    m_claims |= client;
    if (!first)
        return;
    for (size_t i = 0; i < 3; ++i) {
        m_saved[i] = m_parameters->Get(kTimeouts[i].get);
        if (m_saved[i] != 0)
            m_parameters->Set(kTimeouts[i].set, 0);
    }
}

void PowerSuppression::Leave(Client client)
{
    if ((m_claims & client) == 0)
        return;
    m_claims &= ~static_cast<unsigned>(client);
    if (m_claims != 0)
        return;
    for (size_t i = 0; i < 3; ++i)
        if (m_parameters->Get(kTimeouts[i].get) != m_saved[i])
            m_parameters->Set(kTimeouts[i].set, m_saved[i]);
}

void PowerSuppression::LeaveAll()
{
    Leave(kPreview);
    Leave(kPlayback);
}

}  // namespace shell
