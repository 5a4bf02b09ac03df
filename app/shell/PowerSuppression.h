#pragma once
// The one owner of the screen-saver and power timeouts. Preview and playback both keep the
// screen awake; whichever enters first saves the user's three timeouts, and they are put back
// once, when the last user leaves. Entering twice never saves the zeroed values as the user's.
#include <windows.h>

#include <array>

namespace shell {

class PowerSuppression {
public:
    // The three system parameters behind the timeouts, replaceable for tests.
    class Parameters {
    public:
        virtual int Get(UINT getAction) = 0;
        virtual void Set(UINT setAction, int value) = 0;

    protected:
        ~Parameters() = default;
    };

    // Who keeps the screen awake; each holds its own claim.
    enum Client { kPreview = 1, kPlayback = 2 };

    PowerSuppression();  // the system's parameters
    explicit PowerSuppression(Parameters& parameters) : m_parameters(&parameters) {}
    ~PowerSuppression() { LeaveAll(); }
    PowerSuppression(const PowerSuppression&) = delete;
    PowerSuppression& operator=(const PowerSuppression&) = delete;

    // The first claim saves the timeouts and sets each to 0; later claims change nothing.
    void Enter(Client client);
    // Releasing the last claim puts back each saved timeout that differs from the current.
    void Leave(Client client);
    void LeaveAll();
    bool Active() const { return m_claims != 0; }

private:
    Parameters* m_parameters;
    unsigned m_claims = 0;
    std::array<int, 3> m_saved{};
};

}  // namespace shell
